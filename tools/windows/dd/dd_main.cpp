// dd.exe if=FILE of=FILE [bs=BYTES] [skip=BLOCKS] [count=BLOCKS]: copies a file's blocks from `skip` on.
// Windows has no dd; the tool's command lines use only these operands.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// Arguments arrive in UTF-8 (the program's manifest); the path is made from UTF-8, not the code page.
std::filesystem::path utf8_path(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

std::optional<uint64_t> number(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 18)
        return std::nullopt;
    return std::stoull(text);
}

struct Operands {
    std::string input, output;
    uint64_t block = 512, skip = 0;
    std::optional<uint64_t> count;
};

std::optional<Operands> parse(int argc, char** argv) {
    std::map<std::string, std::string> given;
    for (int i = 1; i < argc; ++i) {
        const std::string operand = argv[i];
        const size_t equals = operand.find('=');
        if (equals == std::string::npos ||
            !given.emplace(operand.substr(0, equals), operand.substr(equals + 1)).second)
            return std::nullopt;
    }
    Operands out;
    for (const auto& [key, value] : given) {
        std::optional<uint64_t> n = number(value);
        if (key == "if")
            out.input = value;
        else if (key == "of")
            out.output = value;
        else if (key == "bs" && n && *n > 0)
            out.block = *n;
        else if (key == "skip" && n)
            out.skip = *n;
        else if (key == "count" && n)
            out.count = n;
        else
            return std::nullopt;
    }
    if (out.input.empty() || out.output.empty())
        return std::nullopt;
    return out;
}

bool copy(const Operands& operands) {
    std::ifstream in(utf8_path(operands.input), std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "dd: cannot open '%s'\n", operands.input.c_str());
        return false;
    }
    std::ofstream out(utf8_path(operands.output), std::ios::binary | std::ios::trunc);
    if (!out) {
        std::fprintf(stderr, "dd: cannot create '%s'\n", operands.output.c_str());
        return false;
    }
    in.seekg(static_cast<std::streamoff>(operands.skip * operands.block));
    uint64_t left = operands.count ? *operands.count * operands.block : UINT64_MAX;
    std::vector<char> buffer(1 << 20);
    while (left > 0 && in) {
        in.read(buffer.data(), static_cast<std::streamsize>(std::min<uint64_t>(left, buffer.size())));
        const std::streamsize got = in.gcount();
        out.write(buffer.data(), got);
        left -= static_cast<uint64_t>(got);
    }
    if (in.bad() || !out.flush()) {
        std::fprintf(stderr, "dd: cannot copy '%s' to '%s'\n", operands.input.c_str(),
                     operands.output.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Operands> operands = parse(argc, argv);
    if (!operands) {
        std::fputs("usage: dd if=FILE of=FILE [bs=BYTES] [skip=BLOCKS] [count=BLOCKS]\n", stderr);
        return 2;
    }
    return copy(*operands) ? 0 : 1;
}
