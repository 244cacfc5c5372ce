#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(Exceptions, FamilyIsCaughtThroughItsParents) {
    try {
        throw EFOpenError(u"Cannot open file \"x\"");
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), UnicodeString(u"Cannot open file \"x\""));
    }
    EXPECT_THROW(throw EReadError("r"), Exception);
    EXPECT_THROW(throw EConvertError("c"), Exception);
    EXPECT_THROW(throw EOSError(u"o", 5), Exception);
}

TEST(Exceptions, WhatIsTheMessageInUtf8) {
    Exception e(u"Zażółć");
    EXPECT_STREQ(e.what(), "Zażółć");
    e.SetMessage(u"changed");
    EXPECT_STREQ(e.what(), "changed");
    EXPECT_EQ(e.Message(), UnicodeString(u"changed"));
}

TEST(Exceptions, RaiseLastOSErrorCarriesTheCode) {
    try {
        RaiseLastOSError(ENOENT);
        FAIL();
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode, static_cast<unsigned>(ENOENT));
        EXPECT_GT(e.Message().Pos(SysErrorMessage(ENOENT)), 0);
    }
}
