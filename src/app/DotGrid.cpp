#include "app/DotGrid.h"

#include <QColor>
#include <QDir>

#include "app/DotAccessible.h"
#include "app/DotBox.h"
#include "app/DotGridInput.h"
#include "app/PictureFile.h"
#include "app/Twips.h"
#include "common/LeadingNumber.h"

namespace {

constexpr char kRowNames[kRowCount] = {'A', 'B', 'C', 'D', 'E', 'F', 'G'};
constexpr int kRowTops[kRowCount] = {1320, 1660, 2000, 2340, 2680, 3020, 3360};
const QColor kPanelGrey(192, 192, 192);

}  // namespace

DotGrid::DotGrid(QWidget* parent, const QString& appPath) : appPath_(appPath) {
    installDotAccessibility();
    for (int row = 0; row < kRowCount; ++row) {
        for (int index = 0; index < kColumnCount; ++index) {
            auto* dot = new DotBox(row, index, parent);
            dot->setObjectName(QStringLiteral("%1%2").arg(kRowNames[row]).arg(index));
            dot->setGeometry(twipsRect(parent, 360 + 330 * index, kRowTops[row], 300, 300));
            dot->setStyleSheet(QStringLiteral("background-color: rgb(192, 192, 192);"));
            dot->Tag = QStringLiteral("0");
            dots_[static_cast<size_t>(row)][static_cast<size_t>(index)] = dot;
        }
    }
    input_ = std::make_unique<DotGridInput>(*this);
}

DotGrid::~DotGrid() = default;

DotBox* DotGrid::dot(int row, int index) const {
    return dots_[static_cast<size_t>(row)][static_cast<size_t>(index)];
}

void DotGrid::toggle(int row, int index) {
    DotBox* box = dot(row, index);
    auto& value = rowValues_[static_cast<size_t>(row)];
    const auto bit = static_cast<int16_t>(1 << index);
    const bool light = leadingNumber(box->Tag.toStdString()) == 0;
    box->Tag = light ? QStringLiteral("1") : QStringLiteral("0");
    const QString file = light ? QStringLiteral("pointrouge.gif") : QStringLiteral("pointgris.gif");
    QPixmap picture = loadPictureFile(QDir(appPath_).filePath(file));
    if (picture.isNull()) {
        const QColor colour = light ? QColor(255, 0, 0) : QColor(96, 96, 96);
        picture = drawnDisc(QSize(21, 21), colour, kPanelGrey);
    }
    box->setPixmap(picture);
    value = light ? static_cast<int16_t>(value | bit) : static_cast<int16_t>(value & ~bit);
}

QString DotGrid::showRecord(const QString& record) {
    const RecordFields fields = splitRecord(record.toStdString());
    for (int row = 0; row < kRowCount; ++row) {
        const auto lit = litDotsOfField(fields.rows[static_cast<size_t>(row)]);
        for (int index = 0; index < kColumnCount; ++index) {
            // Tag "0" makes the toggle light the dot, "-1" makes it darken it.
            dot(row, index)->Tag =
                lit[static_cast<size_t>(index)] ? QStringLiteral("0") : QStringLiteral("-1");
            toggle(row, index);
        }
    }
    return QString::fromStdString(fields.rest);
}
