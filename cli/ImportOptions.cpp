// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportOptions.h"

#include "ArgumentCursor.h"

QString ImportOptions::usage() {
    return QStringLiteral(
        "Usage: pixhaul-import [--dest PATTERN] [--move|--copy] [--overwrite ask|replace|skip]\n"
        "                      [--rotate|--no-rotate] [--description TEXT] [--new-only]\n"
        "                      [--verify] [--dry-run] SOURCE\n"
        "       pixhaul-import [options] --camera MODEL@PORT\n"
        "       pixhaul-import --list-cameras\n"
        "\n"
        "Copies or moves the pictures and movies of SOURCE into one folder per day.\n"
        "SOURCE holding DCIM or PRIVATE is read as a camera card; any other folder\n"
        "is imported whole. Options left out take the Pixhaul settings.\n"
        "\n"
        "  --dest PATTERN      destination folder pattern: %d day, %m month, %a and %M\n"
        "                      month names, %y and %Y year, %P description\n"
        "  --move, --copy      move files off the card, or copy them\n"
        "  --overwrite MODE    ask, replace or skip when a file already exists\n"
        "  --rotate            turn JPEG files upright by their EXIF orientation\n"
        "  --no-rotate         leave JPEG files as they are\n"
        "  --description TEXT  description (%P) of every group; without it the\n"
        "                      description of each group is asked on the terminal\n"
        "  --new-only          leave out the files imported before (same name, size,\n"
        "                      date and contents as one in the import history)\n"
        "  --verify            read every copy back and compare it with the source\n"
        "                      (moves always do)\n"
        "  --dry-run           print the groups and their folders, how many files are\n"
        "                      new, and the space each destination needs and has;\n"
        "                      change nothing\n"
        "  --camera MODEL@PORT import from a camera connected as a device (PTP/MTP),\n"
        "                      as --list-cameras names it\n"
        "  --list-cameras      list the cameras connected as devices and stop\n"
        "\n"
        "Every file imported is remembered in $XDG_DATA_HOME/pixhaul/import-history.sqlite\n"
        "(deleting it forgets what was imported, nothing else).\n"
        "\n"
        "Exit status: 0 all done, 1 some files failed, 2 usage error, bad SOURCE or\n"
        "not enough space (nothing written), 130 interrupted (Ctrl-C stops after the\n"
        "current file).\n");
}

std::optional<ImportOptions> ImportOptions::parse(const QStringList& arguments, QString& error) {
    ImportOptions options;
    ArgumentCursor cursor(arguments);
    while (cursor.next()) {
        const QString& argument = cursor.current();
        if (!cursor.isOption()) {
            if (!options.source.isEmpty()) {
                error =
                    QStringLiteral("more than one SOURCE: %1 and %2").arg(options.source, argument);
                return std::nullopt;
            }
            options.source = argument;
        } else if (argument == QLatin1String("--help")) {
            options.help = true;
        } else if (argument == QLatin1String("--dest")) {
            QString text;
            if (!cursor.value(text, error))
                return std::nullopt;
            if (text.trimmed().isEmpty()) {
                error = QStringLiteral("--dest must not be empty");
                return std::nullopt;
            }
            options.destinationPattern = text;
        } else if (argument == QLatin1String("--move")) {
            options.mode = TransferModeMove;
        } else if (argument == QLatin1String("--copy")) {
            options.mode = TransferModeCopy;
        } else if (argument == QLatin1String("--overwrite")) {
            QString text;
            if (!cursor.value(text, error))
                return std::nullopt;
            if (text == QLatin1String("ask"))
                options.overwriteMode = OverwriteModeAsk;
            else if (text == QLatin1String("replace"))
                options.overwriteMode = OverwriteModeReplace;
            else if (text == QLatin1String("skip"))
                options.overwriteMode = OverwriteModeSkip;
            else {
                error = QStringLiteral("--overwrite takes ask, replace or skip, not %1").arg(text);
                return std::nullopt;
            }
        } else if (argument == QLatin1String("--rotate")) {
            options.rotate = true;
        } else if (argument == QLatin1String("--no-rotate")) {
            options.rotate = false;
        } else if (argument == QLatin1String("--description")) {
            QString text;
            if (!cursor.value(text, error))
                return std::nullopt;
            options.description = text;
        } else if (argument == QLatin1String("--new-only")) {
            options.newOnly = true;
        } else if (argument == QLatin1String("--verify")) {
            options.verify = true;
        } else if (argument == QLatin1String("--dry-run")) {
            options.dryRun = true;
        } else if (argument == QLatin1String("--camera")) {
            QString text;
            if (!cursor.value(text, error))
                return std::nullopt;
            options.camera = text;
        } else if (argument == QLatin1String("--list-cameras")) {
            options.listCameras = true;
        } else {
            error = QStringLiteral("unknown option %1").arg(argument);
            return std::nullopt;
        }
    }
    if (options.camera && !options.source.isEmpty()) {
        error = QStringLiteral("--camera and SOURCE %1 exclude each other").arg(options.source);
        return std::nullopt;
    }
    if (options.source.isEmpty() && !options.help && !options.camera && !options.listCameras) {
        error = QStringLiteral("no SOURCE folder given");
        return std::nullopt;
    }
    return options;
}
