// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserItemDelegate.h"

#include "browser/BrowserGridModel.h"
#include "browser/BrowserItemType.h"
#include "widgets/FileManagerRename.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QStyle>
#include <QTextLayout>

namespace {

const QColor kCellSelection = QColor::fromRgbF(0.75f, 0.75f, 0.75f, 1.0f);
const QColor kLabelSelection = QColor::fromRgbF(0.219f, 0.457f, 0.84f, 1.0f);

QIcon iconForType(int type) {
    // The desktop's icon theme, else the style's own icons.
    static const QIcon icons[] = {
        QIcon::fromTheme(QStringLiteral("folder"),
                         QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
        QIcon::fromTheme(QStringLiteral("image-x-generic"),
                         QApplication::style()->standardIcon(QStyle::SP_FileIcon)),
        QIcon::fromTheme(QStringLiteral("video-x-generic"),
                         QApplication::style()->standardIcon(QStyle::SP_MediaPlay)),
    };
    return icons[qBound(0, type, 2)];
}

// The thumbnail scaled to fit `size`, kept in the pixmap cache so a
// repaint does not scale it again.
QPixmap fittedPixmap(const QImage& image, const QSize& size) {
    const QString key = QStringLiteral("browser-%1-%2x%3")
                            .arg(image.cacheKey())
                            .arg(size.width())
                            .arg(size.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    QSize fitted = image.size().scaled(size, Qt::KeepAspectRatio);
    // Never enlarged beyond its own pixels.
    if (fitted.width() > image.width() || fitted.height() > image.height())
        fitted = image.size();
    pixmap =
        QPixmap::fromImage(image.scaled(fitted, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

} // namespace

BrowserItemDelegate::BrowserItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent) {}

QSize BrowserItemDelegate::cellSize() const {
    return QSize(qRound(120.0f * m_zoom), qRound(148.63637f * m_zoom));
}

QRect BrowserItemDelegate::thumbnailRect(const QRect& cell) {
    return cell.adjusted(8, 8, -8, -kLabelBand - 4);
}

QRect BrowserItemDelegate::labelRect(const QRect& cell) {
    return QRect(cell.left() + 2, cell.bottom() - kLabelBand + 2, cell.width() - 4, kLabelBand - 4);
}

QSize BrowserItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return cellSize();
}

void BrowserItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QRect cell = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (selected) {
        // The cell inset by 3 and without the name band.
        const QRectF backdrop = QRectF(cell).adjusted(3, 3, -3, -3 - kLabelBand);
        QPainterPath path;
        path.addRoundedRect(backdrop, 5.0, 5.0);
        painter->fillPath(path, kCellSelection);
    }

    const QRect thumbArea = thumbnailRect(cell);
    const QImage thumbnail = index.data(BrowserGridModel::ThumbnailRole).value<QImage>();
    QPixmap pixmap;
    if (!thumbnail.isNull()) {
        pixmap = fittedPixmap(thumbnail, thumbArea.size() * painter->device()->devicePixelRatioF());
        pixmap.setDevicePixelRatio(painter->device()->devicePixelRatioF());
    } else {
        const int side = qMin(thumbArea.width(), thumbArea.height());
        pixmap = iconForType(index.data(BrowserGridModel::TypeRole).toInt())
                     .pixmap(QSize(side, side), painter->device()->devicePixelRatioF());
    }
    const QSize shown = pixmap.deviceIndependentSize().toSize();
    painter->drawPixmap(QRect(QPoint(thumbArea.center().x() - shown.width() / 2 + 1,
                                     thumbArea.bottom() - shown.height() + 1),
                              shown),
                        pixmap);

    paintLabel(painter, labelRect(cell), index.data(Qt::DisplayRole).toString(), option.font,
               selected);
    painter->restore();
}

void BrowserItemDelegate::paintLabel(QPainter* painter, const QRect& rect, const QString& text,
                                     const QFont& font, bool selected) const {
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal height = metrics.height();
    const bool twoLines = width > rect.width();
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWrapAnywhere;
    if (selected) {
        const qreal radius = twoLines ? height / 4 : height / 2;
        const qreal highlightHeight = twoLines ? 2 * height + 2 : height + 1;
        const qreal highlightWidth = qMin(width + 2 * radius, qreal(rect.width()));
        const QRectF highlight(rect.left() + (rect.width() - highlightWidth) / 2, rect.top() + 1.0,
                               highlightWidth, highlightHeight);
        QPainterPath path;
        path.addRoundedRect(highlight, radius, radius);
        painter->fillPath(path, kLabelSelection);
    }
    painter->setFont(font);
    painter->setPen(selected ? Qt::white : QApplication::palette().color(QPalette::Text));
    // At most two lines; a longer name is cut in the middle of the second.
    const QRectF textRect(rect.left(), rect.top() + 1.0, rect.width(), 2 * height + 2);
    QString shown = text;
    if (twoLines) {
        QTextLayout layout(text, font);
        layout.beginLayout();
        QTextLine first = layout.createLine();
        first.setLineWidth(rect.width());
        layout.endLayout();
        const QString rest = text.mid(first.textLength());
        shown = text.left(first.textLength()) + QLatin1Char('\n') +
                metrics.elidedText(rest, Qt::ElideMiddle, rect.width());
    }
    painter->drawText(textRect, flags, shown);
}

QWidget* BrowserItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex&) const {
    auto* editor = new QLineEdit(parent);
    editor->setObjectName(QStringLiteral("editLabel"));
    editor->setAlignment(Qt::AlignCenter);
    editor->setFrame(true);
    return editor;
}

void BrowserItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* field = static_cast<QLineEdit*>(editor);
    field->setText(index.data(Qt::EditRole).toString());
    selectBaseName(field);
}

void BrowserItemDelegate::selectBaseName(QLineEdit* field) {
    // Up to the full stop that starts the extension.
    const QString name = field->text();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    field->setSelection(0, int(dot > 0 ? dot : name.size()));
}

void BrowserItemDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                       const QModelIndex& index) const {
    const QString entered = static_cast<QLineEdit*>(editor)->text();
    const QString old = index.data(Qt::EditRole).toString();
    if (entered.isEmpty() || entered == old)
        return;
    // The watcher shows the renamed file; a refused name keeps the old one.
    FileManagerRename::tryRenameFile(index.data(BrowserGridModel::PathRole).toString(), entered,
                                     editor->window());
}

void BrowserItemDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                               const QModelIndex&) const {
    const QRect label = labelRect(option.rect);
    editor->setGeometry(label.adjusted(0, 1, 0, 5 - label.height() + editor->sizeHint().height()));
}
