#pragma once

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "app/DotGrid.h"
#include "sequence/SequenceModel.h"
#include "storage/WorkingFolder.h"

class QAction;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class SequenceStrip;
class QTimer;
class WindowSeam;
class DOSClass;
class MyDosEvents;
struct FileDialogSettings;

// The one window of the program: the dot grid, the character number, its duration, the
// editing and preview buttons, the role choice, the download button, the output box and the
// File menu. Controls carry their names as object names so tests can find them.
// Handlers are plain members wired with connect(): moc cannot read accented names.
class EditorWindow : public QMainWindow {
  public:
    // `appPath` is the program folder: pictures, templates and the module Makefile are read
    // there. The files the window makes go to its working folder (see WorkingFolder.h), which
    // is the program folder itself when this user can write it. The seam answers message boxes,
    // file dialogs and the beep.
    EditorWindow(const QString& appPath, WindowSeam& seam);
    ~EditorWindow() override;

    // The editing state, read by tests and benchmarks.
    const SequenceModel& sequence() const { return sequence_; }
    bool downloading() const { return downloading_; }
    const DotGrid& grid() const { return *grid_; }
    QString workingFile() const;
    const WorkingFolder& folders() const { return folders_; }

    // Loads the sequence file at `path` as File > Load does with the file the pupil picked.
    void chargerFichier(const QString& path);
    // The same with the path as the system names it (bytes that need not be UTF-8).
    void chargerFichier(const std::string& path);

    // Shows a character record on the grid and its duration in TDurée.
    void MiseAJourCaractère(const QString& record);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildMenu();
    void buildEditMenu();
    void bindKeys();
    void describeControls();
    void Form_Load();
    void Form_Unload();
    void Initialisation();
    void reportWorkingFolder();

    // Sets the caption of LNumCaractère, which always raises its change reaction.
    void setNumberCaption(int16_t number);
    void LNumCaractère_Change();
    // Shows what an editing action of the sequence left: number and record, beep or message.
    void showStep(const Step& step);

    // Editing and navigation.
    void CBCaracOk_Click();
    void Command1_Click();
    void CBPrécédent_Click();
    void CBSuivant_Click();

    // Preview.
    void CBDéfiler_Click();
    void Timer1_Timer();
    void armTimer1(int32_t intervalMs);

    // File menu.
    FileDialogSettings CommonDialog1() const;
    void mnucharger_Click();
    void mnunouveau_Click();
    void mnusauver_Click();

    // Edit menu and the strip of the sequence. Each change goes through the sequence, which
    // keeps it for undo; the strip follows the label's reaction (LNumCaractère_Change).
    void mnuannuler_Click();
    void mnuretablir_Click();
    void mnuinserer_Click();
    void mnusupprimer_Click();
    void mnudupliquer_Click();
    void mnuavant_Click();
    void mnuapres_Click();
    void mnutexte_Click();
    void mnuimage_Click();
    void stripShow(int number);
    void stripMove(int from, int to);
    // Asks before a close that would leave changes unsaved; false keeps the window open.
    bool mayClose();

    // Role choice and download.
    void MaitreEsclave_Click(int Index);
    void CBDescendre_Click();
    bool moduleToolsPresent();             // names, in a message, the tools missing from PATH
    void showStage(const QString& stage);  // the download's stage, below the client area
    void showOutputBox();
    void clearOutput();
    // Appends a piece of the tool's output to RTB1, up to what a box can usefully show.
    void MyDos_ReceiveOutputs(std::string_view strCommandOutputs);
    friend class MyDosEvents;

    QString appPath_;
    WorkingFolder folders_;
    WindowSeam& seam_;
    std::unique_ptr<DotGrid> grid_;

    SequenceModel sequence_;
    bool downloading_ = false;
    bool unloaded_ = false;

    std::string shownOutput_;  // the output RTB1 shows, as the download reported it
    std::shared_ptr<DOSClass> MyDOS;
    std::unique_ptr<MyDosEvents> myDosEvents_;

    QWidget* client_ = nullptr;
    QLabel* LNumCaractère_ = nullptr;
    QRadioButton* MaitreEsclave_[2] = {nullptr, nullptr};
    QPushButton* Command1_ = nullptr;
    QLabel* LDurée_ = nullptr;
    QLineEdit* TDurée_ = nullptr;
    QPushButton* CBCaracOk_ = nullptr;
    QLabel* LRetard_ = nullptr;
    QLineEdit* TRetard_ = nullptr;
    QLabel* TTropDeCar_ = nullptr;
    QPushButton* CBDescendre_ = nullptr;
    QPushButton* CBPrécédent_ = nullptr;
    QPushButton* CBDéfiler_ = nullptr;
    QPushButton* CBSuivant_ = nullptr;
    QPlainTextEdit* RTB1_ = nullptr;
    SequenceStrip* strip_ = nullptr;
    QAction* mnuannuler_ = nullptr;
    QAction* mnuretablir_ = nullptr;
    QLabel* LÉtape_ = nullptr;
    QTimer* Timer1_ = nullptr;
};
