// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

// Views built from interface files (.ui) by name. A name is looked up
// first among the registered forms (a compiled Ui class, see registerForm),
// then as the resource ":/ui/<name>.ui", loaded at run time through
// QUiLoader. Main thread.
namespace ViewUtils {

using ViewFactory = std::function<QWidget*(QWidget* parent)>;

// Makes `name` build its view with `factory`; replaces an earlier one.
void registerNib(const QString& name, ViewFactory factory);

// Registers a form compiled by uic (AUTOUIC's Ui::Name) under `name`.
template <typename Form> void registerForm(const QString& name) {
    registerNib(name, [](QWidget* parent) {
        auto* view = new QWidget(parent);
        Form form;
        form.setupUi(view);
        return view;
    });
}

// The root view of the interface `name`, a child of `owner` (or a new
// top-level widget without one); null when the interface cannot be found or
// loaded.
QWidget* viewFromNib(const QString& name, QWidget* owner = nullptr);

// The interface's root view when it is a T, else its first direct child
// that is a T; null (and nothing left behind) when none matches.
template <typename T> T* viewFromNib(const QString& name, QWidget* owner = nullptr) {
    QWidget* root = viewFromNib(name, owner);
    if (!root)
        return nullptr;
    if (T* match = qobject_cast<T*>(root))
        return match;
    if (T* match = root->findChild<T*>(QString(), Qt::FindDirectChildrenOnly)) {
        match->setParent(owner);
        delete root;
        return match;
    }
    delete root;
    return nullptr;
}

} // namespace ViewUtils
