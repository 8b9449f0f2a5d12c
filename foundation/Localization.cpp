// SPDX-License-Identifier: GPL-3.0-or-later
#include "Localization.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

bool Localization::installTranslations(const QString& catalogue) {
    auto* app = QCoreApplication::instance();
    if (!app)
        return false;
    auto* translator = new QTranslator(app);
    // The user's language when the program has it, else the English texts
    // every key is guaranteed to have.
    if (translator->load(QLocale(), catalogue, QStringLiteral("_"), QStringLiteral(":/i18n")) ||
        translator->load(catalogue + QLatin1String("_en"), QStringLiteral(":/i18n"))) {
        return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

QString Localization::localizedString(const char* key, int count) {
    return QCoreApplication::translate("Pixhaul", key, nullptr, count);
}
