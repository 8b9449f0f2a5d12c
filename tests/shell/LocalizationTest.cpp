// SPDX-License-Identifier: GPL-3.0-or-later
#include "Localization.h"

#include <gtest/gtest.h>

TEST(Localization, KeysResolveToEnglishThroughTheBuiltInCatalogue) {
    ASSERT_TRUE(Localization::installTranslations());
    const QString invalid = Localization::localizedString("CREATE_FOLDER_INVALID");
    EXPECT_NE(invalid, "CREATE_FOLDER_INVALID");
    EXPECT_TRUE(invalid.contains(':'));
    EXPECT_TRUE(Localization::localizedString("CREATE_FOLDER_CONFLICT").contains("%1"));
    EXPECT_EQ(Localization::localizedString("ITEM_COUNT", 1), "1 item");
    EXPECT_EQ(Localization::localizedString("ITEM_COUNT", 3), "3 items");
    EXPECT_EQ(Localization::localizedString("NO_SUCH_KEY"), "NO_SUCH_KEY");
}
