// The containers' blocks keep room beyond what they hold; these runs take each container to its
// limit and through inserts and deletes in the middle, in both ways a block may be reallocated
// (in place within its room, or moved every time), and compare sizes, contents and the stored
// form with a plain model after every step, so that room counted as contents (or the reverse)
// shows up.
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "store/block_pool.h"
#include "store/mem_reader.h"
#include "store/mem_writer.h"
#include "store/record_array.h"
#include "store/span_array.h"
#include "store/string_list.h"
#include "store_test_support.h"
#include "winplat/memory.h"
#include "winplat/testing.h"

namespace {

using lect32::RecordArray;
using lect32::Span;
using lect32::SpanArray;
using lect32::StringList;
using store_test::blockBytes;
using store_test::saved;
using winplat::testing::GlobalReallocMoves;
using Bytes = std::vector<uint8_t>;

class ContainerGrowth : public ::testing::TestWithParam<bool> {
protected:
    GlobalReallocMoves policy_{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Reallocation, ContainerGrowth, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "AlwaysMoves" : "InPlace"; });

void stamp(RecordArray& array, uint16_t i, uint8_t value, Bytes& model) {
    auto* record = static_cast<uint8_t*>(array.LockRecord(i));
    ASSERT_NE(record, nullptr);
    std::memset(record, value, array.GetRecordSize());
    array.Unlock();
    std::memset(model.data() + size_t{i} * array.GetRecordSize(), value, array.GetRecordSize());
}

// Filled by appends to the last record that fits, refused at the limit, then emptied from the
// middle and refilled by inserts in the middle: the block is count x size bytes throughout.
TEST_P(ContainerGrowth, RecordArraysFillToTheLimitAndBackThroughTheMiddle) {
    struct Case {
        uint16_t size, fits;
    };
    for (const Case c : {Case{7, 9362}, Case{2, 32767}, Case{300, 218}}) {
        SCOPED_TRACE(c.size);
        RecordArray array(c.size);
        Bytes model;
        const auto check = [&](int step) {
            ASSERT_EQ(array.GetCount() * size_t{c.size}, model.size()) << step;
            ASSERT_EQ(blockBytes(array.GetHandle()), model) << step;
        };
        for (uint16_t i = 0; i < c.fits; ++i) {
            ASSERT_EQ(array.Append(), i);
            model.resize(model.size() + c.size);
            stamp(array, i, static_cast<uint8_t>(i * 7 + 1), model);
            if (i % 1000 == 0 || i + 1 == c.fits) check(i);
        }
        EXPECT_EQ(array.Append(), lect32::kAddLimit) << "the next record passes 65535 bytes";
        EXPECT_EQ(array.Insert(0), 0);
        check(-1);
        // Out of the middle, then one back in the middle: one below the limit takes a record again.
        for (int k = 0; k < 50; ++k) {
            const auto at = static_cast<uint16_t>(array.GetCount() / 2);
            ASSERT_EQ(array.Delete(at), 1);
            model.erase(model.begin() + static_cast<long>(size_t{at} * c.size),
                        model.begin() + static_cast<long>(size_t{at + 1u} * c.size));
        }
        check(-2);
        for (int k = 0; k < 50; ++k) {
            const auto at = static_cast<uint16_t>(array.GetCount() / 3);
            ASSERT_EQ(array.Insert(at), 1);
            model.insert(model.begin() + static_cast<long>(size_t{at} * c.size), c.size, 0);
            stamp(array, at, static_cast<uint8_t>(200 + k), model);
            check(k);
        }
        EXPECT_EQ(array.GetCount(), c.fits);
        EXPECT_EQ(array.Insert(1), 0) << "full again";
    }
}

TEST_P(ContainerGrowth, SpanArraysFillToTheLimitByChainedInsertsAtTheEnd) {
    SpanArray spans;
    std::vector<Span> model;
    for (uint16_t k = 0; k < SpanArray::kMaxSpans; ++k) {
        ASSERT_EQ(spans.InsertSpans(k, 1, true), 1);
        const uint16_t start = k ? static_cast<uint16_t>(model.back().start + model.back().length) : 0;
        model.push_back(Span{start, 0});
        ASSERT_EQ(spans.SetSpan(k, Span{start, static_cast<uint16_t>(k % 5)}), 1);
        model.back().length = static_cast<uint16_t>(k % 5);
    }
    EXPECT_EQ(spans.InsertSpans(SpanArray::kMaxSpans, 1, true), 0);
    EXPECT_EQ(spans.GetSize(), 65532);
    ASSERT_EQ(spans.DeleteSpans(8000, 3), 1);
    model.erase(model.begin() + 8000, model.begin() + 8003);
    ASSERT_EQ(spans.InsertSpans(100, 2, true), 1);
    model.insert(model.begin() + 100, 2, Span{static_cast<uint16_t>(model[99].start + model[99].length), 0});
    ASSERT_EQ(spans.InsertSpans(0, 2, false), 0) << "one over the limit";
    ASSERT_EQ(spans.InsertSpans(0, 1, true), 1) << "exactly at the limit";
    model.insert(model.begin(), Span{0, 0});
    ASSERT_EQ(GlobalSize(spans.GetHandle()), 4u * model.size());
    const Bytes block = blockBytes(spans.GetHandle());
    for (size_t k = 0; k < model.size(); ++k) {
        Span got;
        std::memcpy(&got.start, block.data() + 4 * k, 2);
        std::memcpy(&got.length, block.data() + 4 * k + 2, 2);
        ASSERT_EQ(got.start, model[k].start) << k;
        ASSERT_EQ(got.length, model[k].length) << k;
    }
}

// The stored form a model of the entries gives: count, free count, size, headers, strings.
Bytes storedForm(const std::vector<std::optional<std::string>>& model) {
    Bytes headers, strings;
    for (const auto& entry : model) {
        headers.push_back(entry ? 1 : 0);
        headers.push_back(entry ? static_cast<uint8_t>(entry->size()) : 0);
        if (entry) strings.insert(strings.end(), entry->begin(), entry->end());
    }
    const auto size = static_cast<uint32_t>(headers.size() + strings.size());
    uint16_t freeCount = 0;
    for (const auto& entry : model) freeCount = static_cast<uint16_t>(freeCount + (entry ? 0 : 1));
    Bytes out;
    const auto word = [&](uint32_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    word(static_cast<uint32_t>(model.size()));
    word(freeCount);
    if (size >= 0xFFFF) {
        word(0xFFFF);
        word(size);
        word(size >> 16);
    } else {
        word(size);
    }
    out.insert(out.end(), headers.begin(), headers.end());
    out.insert(out.end(), strings.begin(), strings.end());
    return out;
}

// Appends, inserts, deletes and replaces up to the 262140-byte limit and back, each checked
// against the stored form and the lookups a model gives; near the limit the list's spare room
// after its headers must give way to stored bytes.
TEST_P(ContainerGrowth, StringListsKeepTheirStoredFormUpToTheLimit) {
    std::mt19937 random(GetParam() ? 7 : 8);
    StringList list;
    std::vector<std::optional<std::string>> model;
    uint32_t stored = 0;
    const auto text = [&](uint32_t n) { return std::string(n, static_cast<char>('a' + random() % 3)); };
    const auto findInModel = [&](const std::string& s) {
        for (size_t j = 0; j < model.size(); ++j) {
            if (model[j] && *model[j] == s) return static_cast<uint16_t>(j);
        }
        return StringList::kFull;
    };
    int refusals = 0;
    for (int step = 0; step < 3000; ++step) {
        SCOPED_TRACE(step);
        // Mostly long appends and inserts until well past the limit, then mostly deletes.
        const bool filling = step % 1500 < 1200;
        const int roll = static_cast<int>(random() % 20);
        const int op =
            filling ? (roll < 18 ? roll % 5 : 5 + roll % 5) : (roll < 14 ? 5 + roll % 3 : roll % 10);
        const auto n = static_cast<uint16_t>(model.size());
        const std::string s = text(filling ? 200 + random() % 56 : random() % 4);
        if (op < 5 || n == 0) {
            const int at = op < 3 || n == 0 ? -1 : static_cast<int>(random() % (n + 1u));
            const uint16_t got = list.AddString(s.data(), static_cast<int>(s.size()), at);
            size_t slot = at < 0 ? model.size() : static_cast<size_t>(at);
            if (at < 0) {
                for (size_t j = 0; j < model.size(); ++j) {
                    if (!model[j]) {
                        slot = j;
                        break;
                    }
                }
            }
            const bool header = slot == model.size() || at >= 0;
            const uint32_t need = static_cast<uint32_t>(s.size()) + (header ? 2u : 0u);
            if (stored + need > StringList::kMaxBlock) {
                ASSERT_EQ(got, StringList::kFull);
                ++refusals;
            } else {
                ASSERT_EQ(got, slot);
                if (at >= 0 || slot == model.size()) {
                    model.insert(model.begin() + static_cast<long>(slot), s);
                } else {
                    model[slot] = s;
                }
                stored += need;
            }
        } else if (op < 8) {
            const auto at = static_cast<uint16_t>(random() % n);
            const bool remove = random() % 2;
            const bool used = model[at].has_value();
            ASSERT_EQ(list.DeleteString(at, remove ? 1 : 0), used ? 1 : 0);
            if (used) stored -= static_cast<uint32_t>(model[at]->size());
            if (used && remove) {
                model.erase(model.begin() + at);
                stored -= 2;
            } else if (used) {
                model[at].reset();
            }
        } else {
            const auto at = static_cast<uint16_t>(random() % n);
            const bool used = model[at].has_value();
            const bool fits = used && stored - model[at]->size() + s.size() <= StringList::kMaxBlock;
            ASSERT_EQ(list.ReplaceString(at, s.data(), static_cast<int>(s.size())), fits ? 1 : 0);
            if (fits) {
                stored = static_cast<uint32_t>(stored - model[at]->size() + s.size());
                model[at] = s;
            }
        }
        ASSERT_EQ(list.GetSize(), stored);
        ASSERT_EQ(list.GetCount(), model.size());
        if (step % 10 == 0 || (stored > StringList::kMaxBlock - 300 && step % 3 == 0)) {
            ASSERT_EQ(saved(list), storedForm(model));
        }
        ASSERT_EQ(list.Find(s.data(), static_cast<int>(s.size())), findInModel(s));
    }
    EXPECT_GT(refusals, 10) << "the run should meet the limit";
}

// Many small adds bring the list to 3 bytes below the limit (or 2): a 1-byte string with its
// header then lands exactly on it (or would pass it by one).
TEST_P(ContainerGrowth, StringListLimitIsExactAfterManySmallAdds) {
    for (const uint32_t over : {0u, 1u}) {
        SCOPED_TRACE(over);
        StringList list;
        const uint32_t goal = StringList::kMaxBlock - 3 + over;
        const std::string piece(98, 'x');
        while (list.GetSize() + 300 <= goal) ASSERT_NE(list.AddString(piece.data(), 98), StringList::kFull);
        const auto odd = static_cast<int>(goal - list.GetSize() - 102);
        const std::string filler(static_cast<size_t>(odd), 'y');
        ASSERT_NE(list.AddString(filler.data(), odd), StringList::kFull);
        ASSERT_NE(list.AddString(piece.data(), 98), StringList::kFull);
        ASSERT_EQ(list.GetSize(), goal);
        const uint16_t count = list.GetCount();
        EXPECT_EQ(list.AddString("z", 1) == StringList::kFull, over == 1);
        EXPECT_EQ(list.GetSize(), over ? goal : StringList::kMaxBlock);
        EXPECT_EQ(list.AddString("", 0) == StringList::kFull, over == 0) << "a header alone: 2 bytes";
        EXPECT_EQ(list.Find("z", 1), over ? StringList::kFull : count);
    }
}

}  // namespace
