#include "app/EditorWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

#include "app/ApplicationTitle.h"
#include "app/DotBox.h"
#include "app/MyDosEvents.h"
#include "app/PictureFile.h"
#include "app/Twips.h"
#include "app/WindowSeam.h"
#include "common/SystemError.h"
#include "console/DOSClass.h"
#include "storage/SequenceLayout.h"

namespace {

constexpr int kClientWidthTwips = 4560;
constexpr int kClientHeightTwips = 4440;
constexpr int kStageLineHeightTwips = 345;

template <typename Widget>
Widget* place(Widget* widget, const char* name, QWidget* parent, int left, int top, int width,
              int height) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(twipsRect(parent, left, top, width, height));
    return widget;
}

QFont sansSerif(qreal points, bool bold) {
    // The layout was measured with MS Sans Serif; Liberation Sans has Arial's narrow metrics.
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                    QStringLiteral("DejaVu Sans Condensed")});
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QPushButton* pictureButton(const char* name, QWidget* parent, const QString& picture,
                           QSize pictureSize, int left, int top, int width, int height) {
    auto* button = place(new QPushButton(parent), name, parent, left, top, width, height);
    button->setIcon(QIcon(loadPictureFile(picture)));
    button->setIconSize(pictureSize);
    return button;
}

}  // namespace

// The design pictures are compiled into the library, which the linker would otherwise drop.
static void initArtwork() {
    Q_INIT_RESOURCE(artwork);
}

EditorWindow::EditorWindow(const QString& appPath, WindowSeam& seam)
    : appPath_(appPath),
      folders_(WorkingFolder::take(appPath.toStdString(), userFoldersFromEnvironment())),
      seam_(seam),
      sequence_(workingSequencePath(folders_.workingFolder())) {
    initArtwork();
    setFont(sansSerif(8.25, false));
    setWindowTitle(kApplicationTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icone.png")));
    buildMenu();
    buildControls();
    bindKeys();
    describeControls();
    Form_Load();
    grid_->dot(0, 0)->setFocus();  // a pupil starts by drawing
}

// A window destroyed without being closed still stops its build tool.
EditorWindow::~EditorWindow() {
    Form_Unload();
}

QString EditorWindow::workingFile() const {
    return QString::fromStdString(sequence_.workingFile());
}

void EditorWindow::buildMenu() {
    QMenu* mnufichier = menuBar()->addMenu(QStringLiteral("&Fichier"));
    mnufichier->setObjectName(QStringLiteral("mnufichier"));
    const char* names[] = {"mnucharger", "mnunouveau", "mnusauver"};
    const char* captions[] = {"&Charger", "&Nouveau", "&Sauver"};
    const QKeySequence::StandardKey shortcuts[] = {QKeySequence::Open, QKeySequence::New,
                                                   QKeySequence::Save};
    void (EditorWindow::*handlers[])() = {&EditorWindow::mnucharger_Click,
                                          &EditorWindow::mnunouveau_Click,
                                          &EditorWindow::mnusauver_Click};
    for (int i = 0; i < 3; ++i) {
        QAction* item = mnufichier->addAction(QString::fromUtf8(captions[i]));
        item->setObjectName(QString::fromUtf8(names[i]));
        item->setShortcut(shortcuts[i]);
        connect(item, &QAction::triggered, this, handlers[i]);
    }
}

void EditorWindow::buildControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    // The download's stage shows in a line below the client area, so nothing in it moves.
    LÉtape_ = new QLabel(this);
    LÉtape_->setObjectName(QStringLiteral("LÉtape"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->setFixedHeight(twipsToPixels(this, kStageLineHeightTwips));
    statusBar()->addWidget(LÉtape_, 1);
    const QSize clientSize(twipsToPixels(this, kClientWidthTwips),
                           twipsToPixels(this, kClientHeightTwips));
    resize(clientSize.width(),
           clientSize.height() + menuBar()->sizeHint().height() + statusBar()->height());

    auto* Shape1 = place(new QWidget(client_), "Shape1", client_, 285, 1095, 1815, 2775);
    Shape1->setAutoFillBackground(true);
    QPalette grey = Shape1->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    Shape1->setPalette(grey);

    grid_ = std::make_unique<DotGrid>(client_, appPath_);

    LNumCaractère_ = place(new QLabel(QStringLiteral("1"), client_), "LNumCaractère", client_, 360,
                           600, 1695, 615);
    LNumCaractère_->setAlignment(Qt::AlignCenter);
    LNumCaractère_->setFont(sansSerif(24, true));
    setTextColour(LNumCaractère_, QColor(255, 0, 255));

    MaitreEsclave_[0] = place(new QRadioButton(QStringLiteral("Maître"), client_), "MaitreEsclave0",
                              client_, 360, 240, 1095, 255);
    MaitreEsclave_[1] = place(new QRadioButton(QStringLiteral("Esclave"), client_),
                              "MaitreEsclave1", client_, 1560, 240, 1095, 255);
    MaitreEsclave_[0]->setChecked(true);

    Command1_ = place(new QPushButton(QStringLiteral("Effacer ce caractère"), client_), "Command1",
                      client_, 2640, 120, 1815, 375);
    LDurée_ = place(new QLabel(QStringLiteral("Durée d'affichage :              s."), client_),
                    "LDurée", client_, 2280, 1200, 2175, 255);
    TDurée_ = place(new QLineEdit(QStringLiteral("0,5"), client_), "TDurée", client_, 3720, 1170,
                    495, 285);
    CBCaracOk_ = place(new QPushButton(QStringLiteral("Valider ce caractère"), client_),
                       "CBCaracOk", client_, 2280, 1560, 2175, 375);

    LRetard_ = place(new QLabel(QStringLiteral("Nombre de caractère de retard :"), client_),
                     "LRetard", client_, 2280, 2070, 1455, 495);
    LRetard_->setWordWrap(true);
    LRetard_->hide();
    TRetard_ = place(new QLineEdit(QStringLiteral("0"), client_), "TRetard", client_, 3840, 2160,
                     495, 285);
    TRetard_->hide();

    TTropDeCar_ = place(new QLabel(client_), "TTropDeCar", client_, 2280, 2520, 2175, 975);
    TTropDeCar_->setFont(sansSerif(8.25, true));
    TTropDeCar_->setWordWrap(true);
    TTropDeCar_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(TTropDeCar_, QColor(255, 0, 0));

    CBDescendre_ = pictureButton("CBDescendre", client_, QStringLiteral(":/module.gif"),
                                 QSize(99, 45), 2760, 3480, 1695, 855);
    CBPrécédent_ = pictureButton("CBPrécédent", client_, QStringLiteral(":/precedent.gif"),
                                 QSize(15, 15), 120, 3960, 615, 375);
    CBDéfiler_ = pictureButton("CBDéfiler", client_, QStringLiteral(":/defiler.gif"), QSize(27, 15),
                               840, 3960, 735, 375);
    CBSuivant_ = pictureButton("CBSuivant", client_, QStringLiteral(":/suivant.gif"), QSize(15, 15),
                               1680, 3960, 615, 375);

    RTB1_ = place(new QPlainTextEdit(client_), "RTB1", client_, 4800, 120, 5775, 4215);
    RTB1_->setLineWrapMode(QPlainTextEdit::NoWrap);

    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setTimerType(Qt::PreciseTimer);  // a coarse timer may move a tick by 5 %

    for (int row = 0; row < kRowCount; ++row) {
        for (int index = 0; index < kColumnCount; ++index) {
            connect(grid_->dot(row, index), &DotBox::clicked, this,
                    [this, row](int clicked) { grid_->toggle(row, clicked); });
        }
    }
    connect(CBCaracOk_, &QPushButton::clicked, this, &EditorWindow::CBCaracOk_Click);
    connect(Command1_, &QPushButton::clicked, this, &EditorWindow::Command1_Click);
    connect(CBPrécédent_, &QPushButton::clicked, this, &EditorWindow::CBPrécédent_Click);
    connect(CBSuivant_, &QPushButton::clicked, this, &EditorWindow::CBSuivant_Click);
    connect(CBDéfiler_, &QPushButton::clicked, this, &EditorWindow::CBDéfiler_Click);
    connect(CBDescendre_, &QPushButton::clicked, this, &EditorWindow::CBDescendre_Click);
    connect(Timer1_, &QTimer::timeout, this, &EditorWindow::Timer1_Timer);
    for (int index = 0; index < 2; ++index) {
        connect(MaitreEsclave_[index], &QRadioButton::toggled, this, [this, index](bool on) {
            if (on) {
                MaitreEsclave_Click(index);
            }
        });
    }
}

void EditorWindow::Form_Load() {
    Initialisation();
    MyDOS = DOSClass::create();
    myDosEvents_ = std::make_unique<MyDosEvents>(*this);
    // Said once the window is on screen, so the message stands in front of it.
    if (folders_.error().failed() || !folders_.heldByAnother().empty()) {
        QTimer::singleShot(0, this, &EditorWindow::reportWorkingFolder);
    }
}

void EditorWindow::reportWorkingFolder() {
    const QString working = QString::fromStdString(folders_.workingFolder());
    if (!folders_.error().failed()) {
        seam_.MsgBox(this,
                     QStringLiteral("Une autre fenêtre de Vexlo travaille déjà dans le dossier "
                                    "« %1 ».\r\nCelle-ci travaille dans le dossier « %2 » : "
                                    "les deux séquences ne se mélangent pas.")
                         .arg(QString::fromStdString(folders_.heldByAnother()), working),
                     vbExclamation, QStringLiteral("Attention"));
        return;
    }
    seam_.MsgBox(this,
                 QStringLiteral("Vexlo ne peut pas préparer son dossier de travail « %1 ».\r\n%2."
                                "\r\nAppelle le Maître.")
                     .arg(working, QString::fromStdString(frenchDescription(folders_.error()))),
                 vbCritical, QStringLiteral("Erreur de fichier"));
}

void EditorWindow::Initialisation() {
    showStep(sequence_.restart());
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void EditorWindow::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    Timer1_->stop();
    // A download in progress holds its own reference to the runner and sees unloaded_.
    MyDOS->setEvents(nullptr);
    MyDOS->KillCommand();
    MyDOS.reset();
}

void EditorWindow::MiseAJourCaractère(const QString& record) {
    TDurée_->setText(grid_->showRecord(record));
}

void EditorWindow::setNumberCaption(int16_t number) {
    LNumCaractère_->setText(QString::number(number));
    LNumCaractère_Change();
}

void EditorWindow::LNumCaractère_Change() {
    const int16_t shown = sequence_.shownNumber();
    const bool delayShown = shown == 1 && MaitreEsclave_[1]->isChecked();
    LRetard_->setVisible(delayShown);
    TRetard_->setVisible(delayShown);

    if (shown > kModuleCapacity) {
        setTextColour(LNumCaractère_, QColor(255, 0, 0));
        TTropDeCar_->setText(QStringLiteral("28 caractères MAX !!!"));
    } else {
        setTextColour(LNumCaractère_, QColor(192, 0, 192));
        TTropDeCar_->clear();
    }
}
