// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/OverwriteMode.h"

#include <QDialog>
#include <QImage>
#include <QString>

#include <memory>

namespace Ui {
class OverwritePrompt;
}

// Asks what to do with one file whose destination already exists: replace
// it, skip it, or stop the transfer, and for how many conflicts the answer
// holds (the scope list, preset from "transfer_overwrite_default"). The
// "always" scope also stores the answer as "transfer_overwrite_mode".
//
// Shown window-modal on the assistant with open(); finished() tells the
// caller to read cancel(), doOverwrite() and forAll(). Main thread only.
class OverwritePromptController : public QDialog {
    Q_OBJECT

public:
    OverwritePromptController(const QString& filename, const QImage& thumbnail,
                              QWidget* parent = nullptr);
    ~OverwritePromptController() override;

    QString filename() const { return m_filename; }
    QImage thumbnail() const { return m_thumbnail; }

    // The answer: stop the whole transfer; replace (true) or skip (false);
    // holds for every later conflict of this run.
    bool cancel() const { return m_cancel; }
    void setCancel(bool cancel) { m_cancel = cancel; }
    bool doOverwrite() const { return m_doOverwrite; }
    void setDoOverwrite(bool overwrite) { m_doOverwrite = overwrite; }
    bool forAll() const { return m_forAll; }
    void setForAll(bool forAll) { m_forAll = forAll; }

    // The scope chosen in the list (OverwriteScope), -1 for none.
    int applyChoice() const;
    void setApplyChoice(int scope);

    // The button actions; each ends the prompt.
    void replace();
    void skip();
    void cancelTransfer();

    // Records the chosen scope for an answer of `mode` (OverwriteModeReplace
    // or OverwriteModeSkip) and sets forAll from it.
    void processApplyChoiceWithAction(OverwriteMode mode);

    // Escape and the window's close button stop the transfer, as the
    // cancel button does.
    void reject() override;

private:
    void awakeFromNib();

    std::unique_ptr<Ui::OverwritePrompt> m_ui;
    QString m_filename;
    QImage m_thumbnail;
    bool m_cancel = false;
    bool m_doOverwrite = false;
    bool m_forAll = false;
};
