#include "app/DotAccessible.h"

#include <QAccessibleWidget>

#include "app/DotBox.h"

namespace {

class DotAccessible : public QAccessibleWidget {
  public:
    explicit DotAccessible(DotBox* dot) : QAccessibleWidget(dot, QAccessible::CheckBox) {}

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return QStringLiteral("Ligne %1, colonne %2")
                    .arg(QChar(u'A' + dot()->row()))
                    .arg(dot()->Index() + 1);
            case QAccessible::Description:
                return dot()->lit() ? QStringLiteral("Point allumé")
                                    : QStringLiteral("Point éteint");
            default:
                return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = dot()->lit();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name == toggleAction() || name == pressAction()) {
            dot()->click();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

  private:
    DotBox* dot() const { return static_cast<DotBox*>(widget()); }
};

QAccessibleInterface* dotInterface(const QString& className, QObject* object) {
    auto* dot = qobject_cast<DotBox*>(object);
    if (className == QLatin1String("DotBox") && dot != nullptr) {
        return new DotAccessible(dot);
    }
    return nullptr;
}

}  // namespace

void installDotAccessibility() {
    QAccessible::installFactory(dotInterface);
}
