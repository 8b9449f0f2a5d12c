// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchCommandOptions.h"

#include "ArgumentCursor.h"

#include <cmath>

QString BatchCommandOptions::usage() {
    return QStringLiteral(
        "Usage: pixhaul-batch [--resize-pixels N | --resize-percent P] [--format same|jpeg|png]\n"
        "                     [--copy-exif|--strip-exif] [--suffix TEXT] [--trash-originals]\n"
        "                     [--dest FOLDER] FILE...\n"
        "\n"
        "Resizes and converts pictures, writing each one under its own name with a\n"
        "suffix into one folder. Options left out take the Pixhaul settings.\n"
        "\n"
        "  --resize-pixels N   the longer side (the height of a square) to N pixels\n"
        "  --resize-percent P  both sides to P percent\n"
        "                      (without either, pictures keep their size)\n"
        "  --format FORMAT     same (JPEG or PNG as the source), jpeg or png\n"
        "  --copy-exif         copy the EXIF data into JPEG output\n"
        "  --strip-exif        leave the EXIF data out\n"
        "  --suffix TEXT       append TEXT to each name (\"\" keeps the names)\n"
        "  --trash-originals   move each source to the Trash once its output is written\n"
        "  --dest FOLDER       where to write (default: the first file's folder)\n"
        "\n"
        "Exit status: 0 all written, 1 some failed, 2 usage error or no readable FILE,\n"
        "130 interrupted (Ctrl-C stops after the current picture).\n");
}

std::optional<BatchCommandOptions> BatchCommandOptions::parse(const QStringList& arguments,
                                                              QString& error) {
    BatchCommandOptions options;
    ArgumentCursor cursor(arguments);
    while (cursor.next()) {
        const QString& argument = cursor.current();
        QString text;
        if (!cursor.isOption()) {
            options.files.append(argument);
        } else if (argument == QLatin1String("--help")) {
            options.help = true;
        } else if (argument == QLatin1String("--resize-pixels")) {
            if (!cursor.value(text, error))
                return std::nullopt;
            bool ok = false;
            const int pixels = text.toInt(&ok);
            if (!ok || pixels < 1) {
                error = QStringLiteral("--resize-pixels takes a whole number above 0, not %1")
                            .arg(text);
                return std::nullopt;
            }
            options.resizePixels = pixels;
        } else if (argument == QLatin1String("--resize-percent")) {
            if (!cursor.value(text, error))
                return std::nullopt;
            bool ok = false;
            const double percent = text.toDouble(&ok);
            if (!ok || !std::isfinite(percent) || percent <= 0.0) {
                error = QStringLiteral("--resize-percent takes a number above 0, not %1").arg(text);
                return std::nullopt;
            }
            options.resizePercent = percent;
        } else if (argument == QLatin1String("--format")) {
            if (!cursor.value(text, error))
                return std::nullopt;
            if (text == QLatin1String("same"))
                options.format = BatchOptions::Format::Same;
            else if (text == QLatin1String("jpeg") || text == QLatin1String("jpg"))
                options.format = BatchOptions::Format::Jpeg;
            else if (text == QLatin1String("png"))
                options.format = BatchOptions::Format::Png;
            else {
                error = QStringLiteral("--format takes same, jpeg or png, not %1").arg(text);
                return std::nullopt;
            }
        } else if (argument == QLatin1String("--copy-exif")) {
            options.copyExif = true;
        } else if (argument == QLatin1String("--strip-exif")) {
            options.copyExif = false;
        } else if (argument == QLatin1String("--suffix")) {
            if (!cursor.value(text, error))
                return std::nullopt;
            options.suffix = text;
        } else if (argument == QLatin1String("--trash-originals")) {
            options.trashOriginals = true;
        } else if (argument == QLatin1String("--dest")) {
            if (!cursor.value(text, error))
                return std::nullopt;
            if (text.isEmpty()) {
                error = QStringLiteral("--dest must not be empty");
                return std::nullopt;
            }
            options.destination = text;
        } else {
            error = QStringLiteral("unknown option %1").arg(argument);
            return std::nullopt;
        }
    }
    if (options.resizePixels && options.resizePercent) {
        error = QStringLiteral("--resize-pixels and --resize-percent exclude each other");
        return std::nullopt;
    }
    if (options.files.isEmpty() && !options.help) {
        error = QStringLiteral("no FILE given");
        return std::nullopt;
    }
    return options;
}
