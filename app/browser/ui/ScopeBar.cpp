// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScopeBar.h"

#include "Localization.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>

using Localization::localizedString;

ScopeBar::ScopeBar(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("scopeBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);

    layout->addWidget(new QLabel(localizedString("Sort By:"), this));
    m_sortName = addItem(QStringLiteral("SortName"), "Filename",
                         QIcon::fromTheme(QStringLiteral("view-sort-ascending")));
    m_sortDate = addItem(QStringLiteral("SortDate"), "Date",
                         QIcon::fromTheme(QStringLiteral("view-calendar")));
    auto* sortGroup = new QButtonGroup(this);
    sortGroup->addButton(m_sortName);
    sortGroup->addButton(m_sortDate);
    layout->addWidget(m_sortName);
    layout->addWidget(m_sortDate);
    layout->addSpacing(16);

    layout->addWidget(new QLabel(localizedString("Kind:"), this));
    m_showFolders = addItem(QStringLiteral("ShowFolders"), "Folders",
                            QIcon::fromTheme(QStringLiteral("folder")));
    m_showImages = addItem(QStringLiteral("ShowImages"), "Images",
                           QIcon::fromTheme(QStringLiteral("image-x-generic")));
    m_showMovies = addItem(QStringLiteral("ShowMovies"), "Movies",
                           QIcon::fromTheme(QStringLiteral("video-x-generic")));
    for (QToolButton* button : {m_showFolders, m_showImages, m_showMovies})
        layout->addWidget(button);
    layout->addStretch();

    for (QToolButton* button : {m_sortName, m_sortDate, m_showFolders, m_showImages, m_showMovies})
        connect(button, &QToolButton::toggled, this, [this] { emit filterChanged(filter()); });
}

QToolButton* ScopeBar::addItem(const QString& identifier, const char* nameKey, const QIcon& icon) {
    auto* button = new QToolButton(this);
    button->setObjectName(identifier);
    button->setText(localizedString(nameKey));
    button->setIcon(icon);
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
}

BrowserFilter ScopeBar::filter() const {
    BrowserFilter filter;
    filter.sortOrder = m_sortName->isChecked() ? 1 : 0;
    filter.showFolders = m_showFolders->isChecked();
    filter.showImages = m_showImages->isChecked();
    filter.showMovies = m_showMovies->isChecked();
    return filter;
}

void ScopeBar::setFilter(const BrowserFilter& filter) {
    const QSignalBlocker blockers[] = {QSignalBlocker(m_sortName), QSignalBlocker(m_sortDate),
                                       QSignalBlocker(m_showFolders), QSignalBlocker(m_showImages),
                                       QSignalBlocker(m_showMovies)};
    m_sortName->setChecked(filter.sortOrder != 0);
    m_sortDate->setChecked(filter.sortOrder == 0);
    m_showFolders->setChecked(filter.showFolders);
    m_showImages->setChecked(filter.showImages);
    m_showMovies->setChecked(filter.showMovies);
}
