// The query text's parser: one pass left to right, words going straight into the code and
// operators through a stack ordered by priority, as in operator precedence parsing. Opening
// parentheses (and quotes in phrase mode) are bracket entries on the same stack whose priority is
// their depth, below every operator, so that closing one emits the operators pushed since.
#include <array>
#include <cstring>
#include <string_view>

#include "navigate/search_folding.h"
#include "navigate/search_query.h"
#include "navigate/text_buffer_search.h"
#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: query parser");

constexpr uint8_t kEnd = 0, kOr = 1, kAnd = 2, kNot = 3, kNear = 4, kBracket = 5;
constexpr std::array<uint8_t, 5> kPriorities{0, 0xFB, 0xFC, 0xFD, 0xFE};
constexpr size_t kMinWord = 3;
constexpr size_t kStackDepth = 128;
constexpr uint8_t kPhraseFlags = kTermIsPhrase | kTermMayEndInsideWord;

struct Keyword {
    const char* text;
    uint8_t op;
};
constexpr std::array<Keyword, 4> kKeywords{{{"AND", kAnd}, {"NEAR", kNear}, {"OR", kOr}, {"NOT", kNot}}};

// The code byte of an operator: its number minus 6, modulo 256.
constexpr uint8_t CodeByte(uint8_t op) {
    return static_cast<uint8_t>(op - 6);
}
static_assert(CodeByte(kOr) == kCodeOr && CodeByte(kNear) == kCodeNear);

struct StackEntry {
    uint8_t op, priority;
};

}  // namespace

class QueryParser {
public:
    QueryParser(SearchQuery& query, std::string_view text, bool phraseMode)
        : query_(query), text_(text), phraseMode_(phraseMode) {}

    int Run() {
        query_.words_.Clear();
        query_.phrases_.Clear();
        query_.code_.clear();
        if (!Scan()) return failure_;
        if (query_.code_.empty()) return refuse(kQuerySyntaxError, "query without terms");
        if (!query_.FitsWords(static_cast<uint8_t>(query_.words_.GetCount())))
            return refuse(kQuerySyntaxError, "an operator without its operands");
        return query_.code_.size() == 1 && query_.words_.GetCount() == 1 ? kQuerySingleWord : kQueryTerms;
    }

private:
    bool Scan() {
        for (size_t j = 0; j < text_.size(); ++j) {
            if (!Step(j)) return false;
        }
        if (tokenOpen_ && KeywordOperator(token(text_.size())) == kEnd) {
            if (!Word(token(text_.size()), 0)) return false;
        }
        return PushOperator(kEnd);
    }

    bool Step(size_t j) {
        const auto c = static_cast<uint8_t>(text_[j]);
        if (c == '(') return OpenParenthesis();
        if (c == '"') return quoteOpen_ ? CloseQuote(j) : OpenQuote(j);
        if (LetterClass(c) == kSeparatorClass) return Separator(j, c);
        if (!tokenOpen_) {
            tokenOpen_ = true;
            tokenStart_ = j;
        }
        return true;
    }

    bool OpenParenthesis() {
        if (!OpenBracket()) return false;
        groupStart_ = true;
        operandPending_ = false;
        return true;
    }

    bool OpenQuote(size_t j) {
        if (operandPending_) {
            if (!PushOperator(kAnd)) return false;
        }
        quoteOpen_ = true;
        quoteStart_ = j;
        tokenStart_ = j + 1;
        tokenOpen_ = false;
        if (phraseMode_) {
            if (!OpenBracket()) return false;
        }
        groupStart_ = true;
        operandPending_ = false;
        return true;
    }

    bool CloseQuote(size_t j) {
        if (j == quoteStart_ + 1) return refuse(false, "empty quote");
        const std::string_view quoted = text_.substr(quoteStart_ + 1, j - quoteStart_ - 1);
        if (phraseMode_) {
            if (Add(query_.phrases_, quoted, kPhraseFlags) == TermList::kFull) return false;
            // The phrase's last word goes to the word list without an implicit AND.
            const std::string_view last = tokenOpen_ ? token(j) : std::string_view{};
            if (last.size() < kMinWord) return ShortWord("a phrase's last word is shorter than 3");
            if (!AddOperand(last, kTermInPhrase | kTermMayEndInsideWord)) return false;
            if (!CloseBracket()) return false;
        } else if (!AddOperand(quoted, 0)) {
            return false;
        }
        operandPending_ = true;
        quoteOpen_ = false;
        tokenStart_ = j + 1;
        tokenOpen_ = false;
        return true;
    }

    bool Separator(size_t j, uint8_t c) {
        if (tokenOpen_ && !Token(token(j), c)) return false;
        // A parenthesis closes its group also behind a quote or another parenthesis.
        if (c == ')') {
            if (!CloseBracket()) return false;
            operandPending_ = true;
        }
        return true;
    }

    // The token that separator c ends: an operator or a word.
    bool Token(std::string_view text, uint8_t c) {
        if (const uint8_t op = KeywordOperator(text); op != kEnd) {
            if (!Operator(op)) return false;
        } else if (!Word(text, c == '*' ? kTermMayEndInsideWord : 0)) {
            return false;
        }
        tokenOpen_ = false;
        groupStart_ = false;
        return true;
    }

    bool Operator(uint8_t op) {
        // 'a NOT b' means a AND NOT b. After another operator there is nothing to join, and an
        // AND there would leave that operator without its operand.
        if (op == kNot && !groupStart_ && operandPending_) {
            if (!PushOperator(kAnd)) return false;
        }
        operandPending_ = false;
        return PushOperator(op);
    }

    // A word of the query; 'flags' holds what the character behind it said.
    bool Word(std::string_view word, uint8_t flags) {
        if (tokenStart_ > 0 && text_[tokenStart_ - 1] == '*') flags |= kTermMayBeginInsideWord;
        if (quoteOpen_) flags |= kTermInPhrase;
        if (word.size() < kMinWord) {
            if (quoteOpen_) return true;  // a short word inside quotes is no term
            return ShortWord("a word shorter than 3 characters");
        }
        if (operandPending_) {
            if (!PushOperator(kAnd)) return false;
        }
        if (!AddOperand(word, flags)) return false;
        operandPending_ = true;
        return true;
    }

    bool AddOperand(std::string_view word, uint8_t flags) {
        const uint16_t index = Add(query_.words_, word, flags);
        if (index == TermList::kFull) return false;
        return Emit(static_cast<uint8_t>(index));
    }

    static uint16_t Add(TermList& list, std::string_view text, uint8_t flags) {
        if (text.size() > UINT8_MAX) return refuse(TermList::kFull, "term longer than 255 bytes");
        return list.Add(text.data(), static_cast<uint8_t>(text.size()), flags);
    }

    bool Emit(uint8_t byte) {
        if (query_.code_.size() >= SearchQuery::kMaxCode) return refuse(false, "code longer than 100 bytes");
        query_.code_.push_back(byte);
        return true;
    }

    bool OpenBracket() {
        ++depth_;
        return PushEntry({kBracket, depth_});
    }

    bool CloseBracket() {
        const bool pushed = Push(kBracket, depth_);
        --depth_;
        return pushed;
    }

    // Emits the pending operators that outrank p, down to and including a bracket entry, which
    // ends the step; otherwise pushes the operator.
    bool Push(uint8_t op, uint8_t priority) {
        while (stackSize_ > 0 && stack_[stackSize_ - 1].priority >= priority) {
            const StackEntry top = stack_[--stackSize_];
            if (top.op == kBracket) return true;
            if (!Emit(CodeByte(top.op))) return false;
        }
        return PushEntry({op, priority});
    }

    bool PushOperator(uint8_t op) { return Push(op, kPriorities[op]); }

    bool PushEntry(StackEntry entry) {
        if (stackSize_ == kStackDepth) return refuse(false, "operators nested too deep");
        stack_[stackSize_++] = entry;
        return true;
    }

    static uint8_t KeywordOperator(std::string_view word) {
        for (const auto& [keyword, op] : kKeywords) {
            if (EqualsKeyword(word.data(), keyword, static_cast<int>(word.size())) == 0) return op;
        }
        return kEnd;
    }

    bool ShortWord(std::string_view why) {
        failure_ = kQueryShortWord;
        return refuse(false, why);
    }

    std::string_view token(size_t end) const { return text_.substr(tokenStart_, end - tokenStart_); }

    SearchQuery& query_;
    std::string_view text_;
    bool phraseMode_;
    size_t tokenStart_ = 0;
    bool tokenOpen_ = false;
    bool groupStart_ = true;
    bool operandPending_ = false;
    bool quoteOpen_ = false;
    size_t quoteStart_ = 0;
    uint8_t depth_ = 0;  // wraps as a byte: a stray closing parenthesis does not fail
    std::array<StackEntry, kStackDepth> stack_{};
    size_t stackSize_ = 0;
    int failure_ = kQuerySyntaxError;  // what a failed step means, unless it says otherwise
};

int SearchQuery::Parse(const char* text, uint16_t length, bool phraseMode) {
    const size_t size = length != 0 ? length : std::strlen(text);
    return QueryParser(*this, std::string_view(text, size), phraseMode).Run();
}

}  // namespace lect32
