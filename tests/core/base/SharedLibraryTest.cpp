// Opening a system library by its soname when first needed.
#include "base/SharedLibrary.h"

#include <gtest/gtest.h>

#include <gnu/lib-names.h>

#include <cstring>

using namespace swr;

TEST(SharedLibrary, AbsentLibraryIsNotOpenAndSaysWhich)
{
    SharedLibrary lib("libswr-absent.so.9");
    EXPECT_FALSE(lib.Open());
    EXPECT_FALSE(lib.Open()); // asked again, still the same answer
    EXPECT_TRUE(lib.Error().contains(QLatin1String("libswr-absent.so.9"))) << lib.Error().toStdString();
    QString why;
    EXPECT_EQ(lib.Symbol("strlen", &why), nullptr);
    EXPECT_EQ(why, lib.Error());
}

TEST(SharedLibrary, OpenLibraryGivesItsFunctionsAndNamesAMissingOne)
{
    SharedLibrary lib(LIBC_SO);
    ASSERT_TRUE(lib.Open()) << lib.Error().toStdString();
    EXPECT_TRUE(lib.Error().isEmpty());
    QString why;
    auto* length = reinterpret_cast<decltype(&std::strlen)>(lib.Symbol("strlen", &why));
    ASSERT_NE(length, nullptr);
    EXPECT_EQ(length("broker"), 6u);
    EXPECT_TRUE(why.isEmpty());
    EXPECT_EQ(lib.Symbol("swr_no_such_function", &why), nullptr);
    EXPECT_TRUE(why.contains(QLatin1String("swr_no_such_function"))) << why.toStdString();
}
