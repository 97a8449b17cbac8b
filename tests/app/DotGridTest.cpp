#include <QImage>

#include "AppTestSupport.h"
#include "app/DotBox.h"

using DotGridTest = WindowTest;

// What a record shows is the record's alone, whatever the grid showed before (the parse itself
// is common's CharacterRecord).
TEST_F(DotGridTest, ShowsARecordWhateverTheGridShowedBefore) {
    clickDot(0, 0);
    clickDot(3, 2);
    window->MiseAJourCaractère("4;-3;0;15;1;1;1;0.5;9");
    EXPECT_EQ(rows(), std::vector<int>({4, 3, 0, 15, 1, 1, 1}));
    EXPECT_EQ(text("TDurée"), "0.5;9");
    EXPECT_EQ(window->grid().dot(0, 0)->Tag, "0");
    EXPECT_EQ(window->grid().dot(0, 2)->Tag, "1");
}

TEST_F(DotGridTest, PicturesComeFromTheProgramFolderEachTimeOrAreDrawn) {
    QImage blue(21, 21, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 255));
    ASSERT_TRUE(blue.save(file("pointrouge.gif"), "PNG"));  // Qt reads it by content
    clickDot(0, 0);
    EXPECT_EQ(window->grid().dot(0, 0)->pixmap().toImage().pixelColor(10, 10), QColor(0, 0, 255));

    writeBytes(folder.file("pointrouge.gif"), "not a picture");
    clickDot(1, 3);
    EXPECT_EQ(window->grid().rowValue(1), 8);
    EXPECT_EQ(window->grid().dot(1, 3)->pixmap().toImage().pixelColor(10, 10), QColor(255, 0, 0));
}
