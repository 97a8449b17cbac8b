#include "BenchSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

double millisecondsBetween(BenchClock::time_point from, BenchClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void QuietSeam::showMessage(QWidget*, const QString& prompt, int, const QString&) {
    ++messages;
    lastPrompt = prompt;
}

namespace {

[[noreturn]] void giveUp(const QString& what) {
    std::fprintf(stderr, "benchmark set-up failed: %s\n", qPrintable(what));
    std::abort();
}

}  // namespace

ProgramCopy::ProgramCopy() {
    const QDir source(QStringLiteral(VEXLO_PROGRAM_DIR));
    if (!dir_.isValid() || !source.exists()) {
        giveUp(QStringLiteral("no program folder at ") + source.path());
    }
    QDirIterator it(source.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = source.relativeFilePath(from);
        if (it.fileInfo().isDir()) {
            QDir(dir_.path()).mkpath(relative);
        } else if (relative != QStringLiteral("MessageTemporaire.car") &&
                   !QFile::copy(from, dir_.filePath(relative))) {
            giveUp(QStringLiteral("cannot copy ") + from);
        }
    }
}

StandInMake::StandInMake(int lines)
    : StandInMake(QStringLiteral("for i in $(seq %1); do echo \"Compilation $i\"; sleep 0.1; done\n"
                                 "    echo \" Aucune erreur\"")
                      .arg(lines)) {}

StandInMake::StandInMake(const QString& compile) : previousPath_(qgetenv("PATH")) {
    const QString script = dir_.filePath(QStringLiteral("make"));
    QFile file(script);
    if (!dir_.isValid() || !file.open(QIODevice::WriteOnly)) {
        giveUp(QStringLiteral("cannot write ") + script);
    }
    file.write(
        QStringLiteral("#!/bin/sh\n"
                       "case \"$1\" in\n"
                       "all)\n"
                       "    %1 ;;\n"
                       "program)\n"
                       "    echo \"Envoi terminé : le module est programmé et vérifié.\" ;;\n"
                       "esac\n")
            .arg(compile)
            .toUtf8());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", dir_.path().toUtf8() + ':' + previousPath_);
}

StandInMake::~StandInMake() {
    qputenv("PATH", previousPath_);
}

BenchWindow::BenchWindow() : window_(std::make_unique<EditorWindow>(folder_.path(), seam_)) {
    window_->show();
}

BenchWindow::~BenchWindow() {
    window_->close();
}

void BenchWindow::missingControl(const char* name) {
    giveUp(QStringLiteral("no control named ") + QString::fromUtf8(name));
}

void BenchWindow::click(const char* name) {
    control<QPushButton>(name)->click();
}

void BenchWindow::setText(const char* name, const QString& text) {
    control<QLineEdit>(name)->setText(text);
}

void BenchWindow::validateCharacters(int count, const QString& duration) {
    for (int n = 0; n < count; ++n) {
        setText("TDurée", duration);
        click("CBCaracOk");
    }
}

Spread spreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    Spread spread;
    spread.median = values[values.size() / 2];
    spread.worst = values.back();
    spread.best = values.front();
    return spread;
}
