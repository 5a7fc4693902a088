#include "TRadioGroup.h"

#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Group {
    Group()
    {
        group.setGeometry(0, 0, 153, 81);
        group.setTitle(QStringLiteral("Pengurutan Berdasarkan :"));
        group.SetItems({QStringLiteral("NIP"), QStringLiteral("Kartu Pegawai"), QStringLiteral("Nama Pegawai")});
        group.OnClick = [this] { clicks.push_back(group.ItemIndex()); };
        group.show();
        group.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&group));
    }

    void clickItem(int item)
    {
        QRadioButton* b = group.button(item);
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(6, b->height() / 2));
    }

    TRadioGroup group;
    std::vector<int> clicks;
};

}  // namespace

TEST(TRadioGroup, StartsWithNothingChosen)
{
    Group g;
    EXPECT_EQ(g.group.ItemIndex(), -1);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(g.group.button(i)->isChecked());
}

TEST(TRadioGroup, OnClickRunsOnlyWhenTheUserChoosesAnotherItem)
{
    Group g;
    g.clickItem(2);
    g.clickItem(2);  // already chosen
    g.clickItem(0);
    g.group.SetItemIndex(1);  // from code
    g.group.button(1)->setFocus();
    QTest::keyClick(g.group.button(1), Qt::Key_Down);
    EXPECT_EQ(g.clicks, (std::vector<int>{2, 0, 2}));
    EXPECT_EQ(g.group.ItemIndex(), 2);
}

TEST(TRadioGroup, ItemIndexMinusOneClearsTheChoice)
{
    Group g;
    g.clickItem(1);
    g.group.SetItemIndex(-1);
    EXPECT_EQ(g.group.ItemIndex(), -1);
    EXPECT_FALSE(g.group.button(1)->isChecked());
    g.group.SetItemIndex(7);  // out of range: nothing chosen
    EXPECT_EQ(g.group.ItemIndex(), -1);
    EXPECT_TRUE(g.clicks == std::vector<int>{1});
}

TEST(TRadioGroup, ButtonsShareTheRoomBelowTheCaptionAndStayInside)
{
    Group g;
    int previousBottom = 0;
    for (int i = 0; i < 3; ++i) {
        const QRect r = g.group.button(i)->geometry();
        EXPECT_TRUE(g.group.rect().contains(r)) << i;
        EXPECT_GE(r.top(), g.group.captionRect().bottom()) << i;
        EXPECT_GE(r.top(), previousBottom) << i;
        EXPECT_EQ(r.height(), g.group.button(0)->height());
        previousBottom = r.bottom();
    }
}
