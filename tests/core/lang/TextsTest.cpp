#include "lang/DefaultTexts.h"
#include "lang/Texts.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace swr;
using swr::Txt::Named_Text;

namespace {

// The checks the build makes on the registry, on small lists of their own.
constexpr Named_Text Run_And_Followers[] = {{"Run", 10, 3}, {"After", 13, 1}, {"Before", 9, 1}};
static_assert(Txt::First_Shared_Index(Run_And_Followers) == -1);

constexpr Named_Text Name_Inside_Run[] = {{"Run", 10, 3}, {"Inside", 12, 1}};
static_assert(Txt::First_Shared_Index(Name_Inside_Run) == 12);

constexpr Named_Text Runs_Overlapping[] = {{"Second", 14, 2}, {"First", 10, 5}};
static_assert(Txt::First_Shared_Index(Runs_Overlapping) == 14);

constexpr Named_Text Same_Index[] = {{"One", 1599, 1}, {"Other", 0, 1}, {"Again", 1599, 1}};
static_assert(Txt::First_Shared_Index(Same_Index) == 1599);
static_assert(Txt::First_Name_Outside_Table(Same_Index) == -1);

constexpr Named_Text Run_Past_End[] = {{"First", 0, 2}, {"Last", 1598, 2}, {"Past_End", 1598, 3}};
static_assert(Txt::First_Name_Outside_Table(Run_Past_End) == 2);

constexpr Named_Text Below[] = {{"Below", -1, 1}};
static_assert(Txt::First_Name_Outside_Table(Below) == 0);

} // namespace

// Every text a name stands for, each of a run included, has a built-in English text: a
// name at an index the table leaves blank would show the user nothing.
TEST(TextNames, EveryNamedIndexHasADefaultText)
{
    std::map<int, std::string> defaults;
    for (int k = 0; k < Default_Texts_Count; ++k)
        defaults[Default_Texts[k].index] = Default_Texts[k].text;
    for (const Named_Text& t : Txt::Registry) {
        for (int i = t.index; i < t.index + t.count; ++i) {
            const auto found = defaults.find(i);
            ASSERT_NE(found, defaults.end()) << t.name << " covers " << i;
            EXPECT_NE(found->second.find_first_not_of(' '), std::string::npos) << t.name << " covers " << i;
        }
    }
}
