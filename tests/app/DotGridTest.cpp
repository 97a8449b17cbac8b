#include <QFile>
#include <QLineEdit>

#include "AppTestSupport.h"
#include "app/DotBox.h"

using DotGridTest = WindowTest;

struct RecordCase {
    const char* record;
    std::vector<int> rows;
    const char* duration;
};

TEST_F(DotGridTest, ShowsEveryRecordTheWayTheParseGivesIt) {
    const RecordCase cases[] = {
        {"31;1;1;15;1;1;1;1.5", {31, 1, 1, 15, 1, 1, 1}, "1.5"},
        {"5;3", {5, 0, 0, 0, 0, 0, 0}, "3"},
        {"", {0, 0, 0, 0, 0, 0, 0}, ""},
        {"0;0;0;0;0;0;0", {0, 0, 0, 0, 0, 0, 0}, "0"},
        {"4;10;17;17;31;17;17;0.5;9", {4, 10, 17, 17, 31, 17, 17}, "0.5;9"},
        {"37;0;0;0;0;0;0;0.5", {5, 0, 0, 0, 0, 0, 0}, "0.5"},
        {"-3;0;0;0;0;0;0;0.5", {3, 0, 0, 0, 0, 0, 0}, "0.5"},
        {" 12;x;2.5;3.5;&H1F;0;0;1", {12, 0, 2, 4, 31, 0, 0}, "1"},
        {"1;1;1;1;1;1;1;0,5", {1, 1, 1, 1, 1, 1, 1}, "0,5"},
        {"99999;-1e300;1e308;&HFFFFFFFF;1;0;0;2", {0, 0, 0, 0, 1, 0, 0}, "2"},
    };
    for (const auto& c : cases) {
        window->MiseAJourCaractère(QString::fromUtf8(c.record));
        EXPECT_EQ(rows(), c.rows) << c.record;
        EXPECT_EQ(text("TDurée"), QString::fromUtf8(c.duration)) << c.record;
        for (int row = 0; row < 7; ++row) {
            for (int index = 0; index < 5; ++index) {
                const bool lit = (c.rows[static_cast<size_t>(row)] >> index) & 1;
                EXPECT_EQ(window->grid().dot(row, index)->Tag, lit ? "1" : "0")
                    << c.record << " row " << row << " dot " << index;
            }
        }
    }
}

TEST_F(DotGridTest, ShowingARecordDependsOnTheRecordNotOnTheGridBefore) {
    clickDot(0, 0);
    clickDot(3, 2);
    window->MiseAJourCaractère("31;1;1;15;1;1;1;1.5");
    const auto first = rows();
    window->MiseAJourCaractère("31;1;1;15;1;1;1;1.5");
    EXPECT_EQ(rows(), first);
    EXPECT_EQ(first, std::vector<int>({31, 1, 1, 15, 1, 1, 1}));
}

TEST_F(DotGridTest, PicturesComeFromTheProgramFolderEachTime) {
    QImage blue(21, 21, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 255));
    ASSERT_TRUE(blue.save(folder.file("pointrouge.gif"), "PNG"));  // Qt reads it by content
    clickDot(0, 0);
    const QImage shown = window->grid().dot(0, 0)->pixmap().toImage();
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(0, 0, 255));
}

TEST_F(DotGridTest, AMissingPictureStillTogglesAndDrawsADisc) {
    ASSERT_TRUE(QFile::remove(folder.file("pointrouge.gif")));
    writeBytes(folder.file("pointgris.gif"), "not a picture");
    clickDot(1, 3);
    EXPECT_EQ(window->grid().rowValue(1), 8);
    EXPECT_EQ(window->grid().dot(1, 3)->Tag, "1");
    const QImage lit = window->grid().dot(1, 3)->pixmap().toImage();
    EXPECT_EQ(lit.pixelColor(10, 10), QColor(255, 0, 0));
    window->MiseAJourCaractère("0;0;0;0;0;0;0;0.5");
    EXPECT_EQ(rows(), std::vector<int>(7, 0));
    EXPECT_EQ(text("TDurée"), "0.5");
    EXPECT_FALSE(window->grid().dot(1, 3)->pixmap().isNull());
}
