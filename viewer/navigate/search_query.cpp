#include "navigate/search_query.h"

#include <array>
#include <optional>

#include "winplat/refusal.h"

namespace lect32 {

namespace {

constexpr winplat::Refuser refuse("lect32: search query");

constexpr uint8_t kFirstOperator = 250;

// A byte stack as deep as the longest code.
class ValueStack {
public:
    void Push(uint8_t value) { values_[size_++] = value; }
    uint8_t Pop() { return values_[--size_]; }
    size_t size() const { return size_; }

private:
    std::array<uint8_t, SearchQuery::kMaxCode> values_{};
    size_t size_ = 0;
};

}  // namespace

bool SearchQuery::SetCode(std::span<const uint8_t> code) {
    if (code.size() > kMaxCode) return refuse(false, "code longer than 100 bytes");
    code_.assign(code.begin(), code.end());
    return true;
}

void SearchQuery::Clear() {
    words_.Clear();
    stems_.Clear();
    phrases_.Clear();
}

int SearchQuery::EvaluateHits(std::span<const uint8_t> found) const {
    return run(found).value_or(0);
}

bool SearchQuery::FitsWords(uint8_t wordCount) const {
    std::array<uint8_t, TermList::kDataSize> allFound;
    allFound.fill(1);
    return run(std::span<const uint8_t>(allFound.data(), wordCount)).has_value();
}

std::optional<uint8_t> SearchQuery::run(std::span<const uint8_t> found) const {
    ValueStack stack;
    for (const uint8_t byte : code_) {
        if (byte < kFirstOperator) {
            if (byte >= found.size()) return refuse(std::nullopt, "operand without a found flag");
            stack.Push(found[byte]);
            continue;
        }
        if (byte != kCodeOr && byte != kCodeAnd && byte != kCodeNot && byte != kCodeNear)
            return refuse(std::nullopt, "code byte is no operator");
        if (stack.size() < (byte == kCodeNot ? 1u : 2u))
            return refuse(std::nullopt, "operator short of operands");
        if (byte == kCodeNot) {
            stack.Push(stack.Pop() == 0 ? 1 : 0);
            continue;
        }
        const uint8_t top = stack.Pop();
        const uint8_t below = stack.Pop();
        stack.Push(static_cast<uint8_t>(byte == kCodeOr ? (top | below) : (top & below)));
    }
    if (stack.size() == 0) return refuse(std::nullopt, "code leaves no value");
    return stack.Pop();
}

SearchQuery& GetSearchQuery() {
    static SearchQuery query;
    return query;
}

}  // namespace lect32
