#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/history.h"

namespace tabulon {
namespace {

using History = std::vector<std::string>;

TEST(HistoryRule, ANewTextGoesOnTopUnlessItIsTheNewest) {
    EXPECT_EQ(UpdateComboList({}, "a"), History({"a"}));
    EXPECT_EQ(UpdateComboList({"B", "A"}, "B"), History({"B", "A"}));
    EXPECT_EQ(UpdateComboList({"B", "A"}, "A"), History({"A", "B", "A"}));
    EXPECT_EQ(UpdateComboList({"X"}, ""), History({"", "X"}));
    EXPECT_EQ(UpdateComboList({}, ""), History());
    EXPECT_EQ(UpdateComboList({"a"}, "A"), History({"A", "a"}));
}

TEST(HistoryRule, KeepsTheFifteenNewest) {
    History history;
    for (int i = 1; i <= 16; ++i)
        history = UpdateComboList(history, std::to_string(i));
    ASSERT_EQ(history.size(), kMaxHistory);
    EXPECT_EQ(history.front(), "16");
    EXPECT_EQ(history.back(), "2");
}

} // namespace
} // namespace tabulon
