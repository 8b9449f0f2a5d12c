// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/InfoPanelRows.h"
#include "browser/MovieMetadata.h"

#include <QList>
#include <QWidget>

class QTableWidget;

// The floating information panel beside the browser window: a two-column
// table (label, value) of the selected image's or movie's details. It is
// independent of the browser window's activation except for the viewer:
// hidden while the viewer is opened from the browser, it comes back the
// next time the browser window becomes active. Main thread.
class InfoPanel : public QWidget {
    Q_OBJECT
public:
    // A tool window of `browserWindow`, hidden until toggled.
    explicit InfoPanel(QWidget* browserWindow);

    // Replaces the rows, reloads the table and sizes it to fit.
    void setRows(const QList<InfoPanelRows::Row>& rows);
    const QList<InfoPanelRows::Row>& rows() const { return m_rows; }
    QTableWidget* table() const { return m_table; }

    // Shows a hidden panel beside the browser window, hides a shown one.
    void toggle();
    // Hides a visible panel until the browser window is next activated.
    void hideForViewer();
    bool showOnBecomeKey() const { return m_showOnBecomeKey; }

    // The height of a row showing `value`: its text in the system font,
    // wrapped at `width`, plus 2.
    static int rowHeight(const QString& value, int width);

    // A movie's details through FFmpeg; empty fields for what it does not
    // tell (or for a file it cannot open). Blocking.
    static MovieMetadata readMovieMetadata(const QString& path);

signals:
    // The panel has just become visible.
    void shown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placeBesideBrowser();

    QWidget* m_browserWindow;
    QTableWidget* m_table;
    QList<InfoPanelRows::Row> m_rows;
    bool m_showOnBecomeKey = false;
    bool m_placed = false;
};
