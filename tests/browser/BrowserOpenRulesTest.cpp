// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/BrowserOpenRules.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Rules = BrowserOpenRules;

// A folder with sub-folders f1, f2, images i1..i4 and movies m1, m2, as the
// grid lists them: f1 i1 m1 i2 f2 i3 m2 i4.
class BrowserOpenRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"f1", "i1", "m1", "i2", "f2", "i3", "m2", "i4"}) {
            const QString title = QLatin1String(name);
            const BrowserItemType type = title.startsWith('f')   ? BrowserItemTypeFolder
                                         : title.startsWith('i') ? BrowserItemTypeImage
                                                                 : BrowserItemTypeMovie;
            m_items.append(std::make_shared<BrowserItem>(m_folder.filePath(title), type));
        }
    }
    BrowserItemPtr item(const char* name) const {
        for (const BrowserItemPtr& candidate : m_items) {
            if (candidate->title() == QLatin1String(name))
                return candidate;
        }
        return nullptr;
    }
    QList<BrowserItemPtr> items(std::initializer_list<const char*> names) const {
        QList<BrowserItemPtr> result;
        for (const char* name : names)
            result << item(name);
        return result;
    }
    QStringList paths(std::initializer_list<const char*> names) const {
        QStringList result;
        for (const char* name : names)
            result << m_folder.filePath(QLatin1String(name));
        return result;
    }

    QTemporaryDir m_folder;
    QList<BrowserItemPtr> m_items;
};

TEST_F(BrowserOpenRulesTest, ReturnOpensOneItemShowsImagesOnlyAndIgnoresTheRest) {
    const struct {
        std::initializer_list<const char*> selection;
        Rules::EnterAction expected;
    } cases[] = {
        {{}, Rules::EnterAction::Nothing},
        {{"f1"}, Rules::EnterAction::OpenItem},
        {{"i1"}, Rules::EnterAction::OpenItem},
        {{"m1"}, Rules::EnterAction::OpenItem},
        {{"i1", "i2", "i3"}, Rules::EnterAction::Fullscreen},
        {{"i1", "f1"}, Rules::EnterAction::Nothing},
        {{"i1", "m1"}, Rules::EnterAction::Nothing},
        {{"f1", "f2"}, Rules::EnterAction::Nothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(paths(c.selection).join(' ').toStdString());
        EXPECT_EQ(Rules::enterAction(items(c.selection)), c.expected);
    }
}

TEST_F(BrowserOpenRulesTest, TheViewerGetsTheFoldersImagesOrExactlyTheSelection) {
    const struct {
        const char* name;
        bool fromSelection;
        const char* item;
        std::initializer_list<const char*> selection;
        std::initializer_list<const char*> expectedPaths;
        int expectedIndex;
        const char* expectedStart; // nullptr: none
    } cases[] = {
        {"nothing selected", false, nullptr, {}, {"i1", "i2", "i3", "i4"}, 0, nullptr},
        {"one image selected", true, nullptr, {"i3"}, {"i1", "i2", "i3", "i4"}, 2, "i3"},
        {"an image opened", false, "i2", {"i2"}, {"i1", "i2", "i3", "i4"}, 1, "i2"},
        {"three selected", true, nullptr, {"i4", "i1", "i3"}, {"i4", "i1", "i3"}, 0, nullptr},
        {"a mixed selection", true, nullptr, {"f1", "m1"}, {"f1", "m1"}, 0, nullptr},
        {"a movie as start", false, "m1", {}, {"i1", "i2", "i3", "i4"}, 0, "m1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Rules::ViewerStart start = Rules::viewerStart(
            c.fromSelection, c.item ? item(c.item) : nullptr, items(c.selection), m_items);
        EXPECT_EQ(start.paths, paths(c.expectedPaths));
        EXPECT_EQ(start.startIndex, c.expectedIndex);
        EXPECT_EQ(start.startItem, c.expectedStart ? item(c.expectedStart) : nullptr);
    }
}

TEST_F(BrowserOpenRulesTest, TheGridMenuOffersWhatTheSelectionAllows) {
    using Entry = Rules::MenuEntry;
    const struct {
        std::initializer_list<const char*> selection;
        bool installed;
        QList<Entry> expected;
    } cases[] = {
        {{"f1"}, true, {Entry::OpenFolder}},
        {{"i1"}, true, {Entry::ViewImage, Entry::QuickLook, Entry::EditWith, Entry::AddToLibrary}},
        {{"i1"}, false, {Entry::ViewImage, Entry::QuickLook}},
        {{"m1"}, true, {Entry::OpenMovie, Entry::QuickLook}},
        {{"i1", "i2"},
         true,
         {Entry::ViewSelection, Entry::QuickLook, Entry::EditWith, Entry::AddToLibrary}},
        {{"i1", "m1"}, true, {Entry::QuickLook}},
        {{"i1", "f1"}, true, {}},
        {{"f1", "f2"}, true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(paths(c.selection).join(' ').toStdString());
        EXPECT_EQ(Rules::menuEntries(items(c.selection), c.installed, c.installed), c.expected);
    }
}

} // namespace
