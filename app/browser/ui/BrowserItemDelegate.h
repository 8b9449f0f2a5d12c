// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

class QLineEdit;

// Paints one grid cell: the thumbnail (or the icon of the item's kind while
// none is loaded) above its name; a selected cell gets a light rounded
// backdrop and its name a blue highlight with white text. Edits the name in
// place: the base name is selected, Return or Tab commits, Escape cancels,
// and a name the file system refuses leaves the old one (with the rename
// alert on the window). Main thread.
class BrowserItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit BrowserItemDelegate(QObject* parent = nullptr);

    // The grid's zoom: cells are 120 x zoom by 148.63637 x zoom.
    void setZoom(float zoom) { m_zoom = zoom; }
    float zoom() const { return m_zoom; }
    QSize cellSize() const;

    // Where a cell of `cell` draws its thumbnail and its name.
    static QRect thumbnailRect(const QRect& cell);
    static QRect labelRect(const QRect& cell);
    // Height of the name band under the thumbnail.
    static constexpr int kLabelBand = 43;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // Selects the name without its extension.
    static void selectBaseName(QLineEdit* field);

private:
    void paintLabel(QPainter* painter, const QRect& rect, const QString& text, const QFont& font,
                    bool selected) const;

    float m_zoom = 1.0f;
};
