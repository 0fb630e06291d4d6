#include "Shell_Words.h"
#include <algorithm>

namespace shell {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

static char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool EndsWithText(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && SameText(text.substr(text.size() - suffix.size()), suffix);
}

std::vector<std::string> SplitWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (char c : text) {
        if (!quoted && IsBlank(c)) {
            if (inWord) {
                words.push_back(word);
            }
            word.clear();
            inWord = false;
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
        }
        word += c;
        inWord = true;
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

std::string Unquote(std::string_view word) {
    std::string plain;
    std::copy_if(word.begin(), word.end(), std::back_inserter(plain), [](char c) { return c != '"'; });
    return plain;
}

std::vector<std::string> SplitPlus(std::string_view word) {
    std::vector<std::string> parts(1);
    bool quoted = false;
    for (char c : word) {
        if (c == '"') {
            quoted = !quoted;
        }
        if (c == '+' && !quoted) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

bool IsSwitch(std::string_view word, std::string_view letters) {
    if (SameText(word, "/-y")) {
        return true;
    }
    return word.size() == 2 && word[0] == '/' && letters.find(Lower(word[1])) != std::string_view::npos;
}

bool HasSwitch(std::string_view arguments, std::string_view letters) {
    std::vector<std::string> words = SplitWords(arguments);
    return std::any_of(words.begin(), words.end(),
                       [&](const std::string& word) { return word != "/-y" && IsSwitch(word, letters); });
}

std::vector<std::string> Operands(std::string_view arguments, std::string_view letters) {
    std::vector<std::string> operands;
    for (std::string& word : SplitWords(arguments)) {
        if (!IsSwitch(word, letters)) {
            operands.push_back(std::move(word));
        }
    }
    return operands;
}

static size_t SkipBlanks(std::string_view text, size_t i) {
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    return i;
}

// One argument after the program name; returns the position after it.
static size_t ReadArgument(std::string_view text, size_t i, std::string& argument) {
    bool quoted = false;
    for (;;) {
        size_t slashes = 0;
        while (i < text.size() && text[i] == '\\') {
            ++slashes;
            ++i;
        }
        if (i < text.size() && text[i] == '"') {
            argument.append(slashes / 2, '\\');
            if (slashes % 2 == 1) {
                argument += '"';
            } else if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                argument += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
            ++i;
            continue;
        }
        argument.append(slashes, '\\');
        if (i >= text.size() || (!quoted && IsBlank(text[i]))) {
            return i;
        }
        argument += text[i++];
    }
}

std::vector<std::string> SplitProgramArguments(std::string_view text) {
    std::vector<std::string> argv(1);
    size_t i = SkipBlanks(text, 0);
    bool quoted = false;
    for (; i < text.size() && (quoted || !IsBlank(text[i])); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else {
            argv[0] += text[i];
        }
    }
    for (i = SkipBlanks(text, i); i < text.size(); i = SkipBlanks(text, i)) {
        argv.emplace_back();
        i = ReadArgument(text, i, argv.back());
    }
    return argv;
}

std::string ToSlashes(std::string_view path) {
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

} // namespace shell
