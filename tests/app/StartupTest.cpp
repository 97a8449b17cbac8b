#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "AppTestSupport.h"
#include "app/DotBox.h"

using StartupTest = WindowTest;

TEST_F(StartupTest, OpensOnABlankFirstCharacter) {
    EXPECT_EQ(window->windowTitle(), "Vexlo");
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(rows(), std::vector<int>(7, 0));
    EXPECT_EQ(text("LNumCaractère"), "1");
    EXPECT_EQ(text("TDurée"), "0.5");
    EXPECT_EQ(text("TRetard"), "0");
    EXPECT_EQ(text("TTropDeCar"), "");
    EXPECT_TRUE(control<QRadioButton>("MaitreEsclave0")->isChecked());
    EXPECT_FALSE(control("TRetard")->isVisible());
    EXPECT_FALSE(window->sequence().playing());
    EXPECT_TRUE(seam.messages.empty());
}

TEST_F(StartupTest, LaysOutTheClientAreaWithTheOutputBoxBeyondItsRightEdge) {
    EXPECT_EQ(control("client")->size(), QSize(304, 296));
    EXPECT_EQ(control<QPlainTextEdit>("RTB1")->geometry(), QRect(320, 8, 385, 281));
    EXPECT_EQ(control("CBCaracOk")->geometry(), QRect(152, 104, 145, 25));
    EXPECT_EQ(window->grid().dot(6, 4)->geometry(), QRect(24 + 22 * 4, 224, 20, 20));
    const auto menus = window->findChildren<QMenu*>();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->title(), "&Fichier");
    QStringList items;
    for (QAction* item : menus[0]->actions()) {
        items << item->text();
    }
    EXPECT_EQ(items, QStringList({"&Charger", "&Nouveau", "&Sauver"}));
}

TEST_F(StartupTest, DeletesAWorkingFileLeftByAnEarlierRun) {
    window.reset();
    writeBytes(folder.file("MessageTemporaire.car"),
               "[Caract\xE8res]\r\nNombre=2\r\nCaract\xE8re1=31;0;0;0;0;0;0;1\r\n");
    openWindow();
    EXPECT_FALSE(exists(folder.file("MessageTemporaire.car")));
    EXPECT_EQ(rows(), std::vector<int>(7, 0));
}
