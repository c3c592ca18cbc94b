// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace dorvo {

QTranslator* installQtTranslations(QCoreApplication& application, const QLocale& locale) {
    if (locale.language() != QLocale::Japanese) return nullptr;
    auto* translator = new QTranslator(&application);
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

}  // namespace dorvo
