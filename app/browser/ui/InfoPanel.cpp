// SPDX-License-Identifier: GPL-3.0-or-later
#include "InfoPanel.h"

#include "Localization.h"
#include "MovieFrameReader.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include <climits>

namespace {

constexpr int kLabelColumn = 0;
constexpr int kValueColumn = 1;
constexpr int kValueWidth = 220;

} // namespace

InfoPanel::InfoPanel(QWidget* browserWindow)
    : QWidget(browserWindow, Qt::Tool)
    , m_browserWindow(browserWindow)
    , m_table(new QTableWidget(0, 2, this)) {
    setObjectName(QStringLiteral("informationPanel"));
    // An inspector: showing it leaves the browser the active window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(Localization::localizedString("Information"));
    m_table->setObjectName(QStringLiteral("informationTable"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("label"), QStringLiteral("value")});
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->setShowGrid(false);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setWordWrap(true);
    m_table->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    m_table->horizontalHeader()->setSectionResizeMode(kLabelColumn, QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(kValueColumn, QHeaderView::Fixed);
    m_table->setColumnWidth(kValueColumn, kValueWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);
    resize(360, 320);
    if (m_browserWindow)
        m_browserWindow->installEventFilter(this);
}

void InfoPanel::setRows(const QList<InfoPanelRows::Row>& rows) {
    m_rows = rows;
    m_table->clearContents();
    m_table->setRowCount(int(rows.size()));
    const QColor labelColour = palette().color(QPalette::PlaceholderText);
    for (int row = 0; row < rows.size(); ++row) {
        auto* label = new QTableWidgetItem(rows[row].first);
        label->setTextAlignment(Qt::AlignRight | Qt::AlignTop);
        label->setForeground(labelColour);
        auto* value = new QTableWidgetItem(rows[row].second);
        value->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
        value->setToolTip(rows[row].second);
        m_table->setItem(row, kLabelColumn, label);
        m_table->setItem(row, kValueColumn, value);
        m_table->setRowHeight(row, rowHeight(rows[row].second, kValueWidth));
    }
    m_table->resizeColumnToContents(kLabelColumn);
}

int InfoPanel::rowHeight(const QString& value, int width) {
    const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    const QString text = value.isEmpty() ? QStringLiteral("gG") : value;
    return metrics.boundingRect(QRect(0, 0, width, INT_MAX), Qt::TextWordWrap, text).height() + 2;
}

void InfoPanel::toggle() {
    m_showOnBecomeKey = false;
    if (isVisible()) {
        hide();
        return;
    }
    placeBesideBrowser();
    show();
}

void InfoPanel::hideForViewer() {
    if (!isVisible())
        return;
    hide();
    m_showOnBecomeKey = true;
}

bool InfoPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_browserWindow && event->type() == QEvent::WindowActivate &&
        m_showOnBecomeKey) {
        m_showOnBecomeKey = false;
        show();
    }
    return QWidget::eventFilter(watched, event);
}

void InfoPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit shown();
}

void InfoPanel::placeBesideBrowser() {
    if (m_placed || !m_browserWindow)
        return;
    m_placed = true;
    // To the right of the browser when the screen has room, else inside
    // its right edge.
    const QRect browser = m_browserWindow->frameGeometry();
    const QScreen* screen = m_browserWindow->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    QPoint origin(browser.right() + 8, browser.top() + 60);
    if (available.isValid()) {
        if (origin.x() + width() > available.right())
            origin.setX(browser.right() - width() - 16);
        // Wholly on the screen, also beside a window that is partly off it.
        origin.setX(qBound(available.left(), origin.x(), available.right() - width()));
        origin.setY(qBound(available.top(), origin.y(), available.bottom() - height()));
    }
    move(origin);
}

MovieMetadata InfoPanel::readMovieMetadata(const QString& path) {
    MovieMetadata metadata;
    const MovieFrameReader reader(path);
    const QSize size = reader.frameSize();
    if (!size.isEmpty()) {
        metadata.pixelWidth = size.width();
        metadata.pixelHeight = size.height();
    }
    if (reader.durationMilliseconds() > 0)
        metadata.durationSeconds = double(reader.durationMilliseconds()) / 1000.0;
    for (const QString& codec : {reader.videoCodecName(), reader.audioCodecName()}) {
        if (!codec.isEmpty())
            metadata.codecs.append(codec);
    }
    if (reader.videoBitRate() > 0)
        metadata.videoBitRate = reader.videoBitRate();
    if (reader.audioBitRate() > 0)
        metadata.audioBitRate = reader.audioBitRate();
    return metadata;
}
