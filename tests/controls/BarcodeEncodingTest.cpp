#include "BarcodeEncoder.h"

#include <gtest/gtest.h>

TEST(BarcodeSmoke, Builds) {
    EXPECT_FALSE(EncodeBarcode({bcCode128C, QStringLiteral("12"), false, csmModulo10}).Pattern.isEmpty());
}
