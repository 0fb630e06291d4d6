#include "Shell_Syntax.h"
#include "Shell_Words.h"
#include <stdexcept>

namespace shell {
namespace {

struct SyntaxError : std::runtime_error {
    SyntaxError() : std::runtime_error("syntax") {}
};

class Parser {
  public:
    explicit Parser(std::string_view line) : line_(line) {}

    Chain ParseAll() {
        Chain chain = ParseChain();
        if (pos_ < line_.size()) {
            throw SyntaxError(); // a ')' with no '(' before it
        }
        return chain;
    }

  private:
    bool AtEnd() const { return pos_ >= line_.size(); }
    char Peek() const { return line_[pos_]; }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(Peek())) {
            ++pos_;
        }
    }
    bool AtClose() const { return depth_ > 0 && !AtEnd() && Peek() == ')'; }

    // Chains end at the end of the line or at the ')' that closes the block being read.
    Chain ParseChain() {
        Chain chain;
        Joint joint = Joint::Always;
        for (;;) {
            std::unique_ptr<Node> node = ParseCommand();
            if (node) {
                chain.steps.push_back({joint, std::move(node)});
            }
            if (AtEnd() || AtClose()) {
                return chain;
            }
            // ParseCommand stops only at the end, a ')' or an '&'.
            ++pos_;
            joint = Joint::Always;
            if (!AtEnd() && Peek() == '&') {
                ++pos_;
                joint = Joint::OnSuccess;
            }
        }
    }

    std::unique_ptr<Node> ParseCommand() {
        SkipBlanks();
        if (!AtEnd() && Peek() == '(') {
            return ParseBlock();
        }
        if (StartsWithWord("if")) {
            return ParseIf();
        }
        return ParseSimple();
    }

    bool StartsWithWord(std::string_view word) const {
        std::string_view rest = line_.substr(pos_);
        return rest.size() > word.size() && SameText(rest.substr(0, word.size()), word) &&
               IsBlank(rest[word.size()]);
    }

    std::unique_ptr<Node> ParseBlock() {
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::Block;
        ++pos_;
        ++depth_;
        node->body = ParseChain();
        if (AtEnd()) {
            throw SyntaxError();
        }
        ++pos_;
        --depth_;
        // Only redirections may follow the closing parenthesis.
        for (SkipBlanks(); !AtEnd() && Peek() == '>'; SkipBlanks()) {
            node->redirections.push_back(ReadRedirection());
        }
        if (!AtEnd() && Peek() != '&' && !AtClose()) {
            throw SyntaxError();
        }
        return node;
    }

    std::unique_ptr<Node> ParseIf() {
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::IfExist;
        pos_ += 2;
        SkipBlanks();
        if (StartsWithWord("not")) {
            node->negate = true;
            pos_ += 3;
            SkipBlanks();
        }
        if (!StartsWithWord("exist")) {
            throw SyntaxError();
        }
        pos_ += 5;
        SkipBlanks();
        node->text = ReadWord();
        if (node->text.empty()) {
            throw SyntaxError();
        }
        SkipBlanks();
        if (!AtEnd() && Peek() == '(') {
            node->body.steps.push_back({Joint::Always, ParseBlock()});
        } else {
            // Without parentheses the condition governs the rest of the chain.
            node->body = ParseChain();
        }
        return node;
    }

    std::unique_ptr<Node> ParseSimple() {
        auto node = std::make_unique<Node>();
        bool quoted = false;
        while (!AtEnd()) {
            char c = Peek();
            if (!quoted && (c == '&' || AtClose())) {
                break;
            }
            if (!quoted && c == '>') {
                node->redirections.push_back(ReadRedirection());
                continue;
            }
            if (!quoted && c == '^') {
                ++pos_;
                if (!AtEnd()) {
                    node->text += line_[pos_++];
                }
                continue;
            }
            if (c == '"') {
                quoted = !quoted;
            }
            node->text += c;
            ++pos_;
        }
        bool blank = node->text.find_first_not_of(" \t") == std::string::npos;
        if (blank && node->redirections.empty()) {
            return nullptr;
        }
        return node;
    }

    Redirection ReadRedirection() {
        Redirection redirection;
        ++pos_;
        if (!AtEnd() && Peek() == '>') {
            redirection.append = true;
            ++pos_;
        }
        SkipBlanks();
        redirection.target = ReadWord();
        if (redirection.target.empty()) {
            throw SyntaxError();
        }
        return redirection;
    }

    // A file name: up to a blank or an operator outside quotes.
    std::string ReadWord() {
        std::string word;
        bool quoted = false;
        while (!AtEnd()) {
            char c = Peek();
            if (!quoted && (IsBlank(c) || c == '&' || c == '>' || c == '(' || AtClose())) {
                break;
            }
            if (!quoted && c == '^' && pos_ + 1 < line_.size()) {
                ++pos_;
                c = Peek();
            } else if (c == '"') {
                quoted = !quoted;
            }
            word += c;
            ++pos_;
        }
        return word;
    }

    std::string_view line_;
    size_t pos_ = 0;
    int depth_ = 0;
};

} // namespace

std::optional<Chain> ParseLine(std::string_view line) {
    try {
        return Parser(line).ParseAll();
    } catch (const SyntaxError&) {
        return std::nullopt;
    }
}

} // namespace shell
