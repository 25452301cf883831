#include "DataSetPacker.h"
#include "DeliveryFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QString absoluteFolder(const QString &folder)
{
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(folder)).absoluteFilePath());
}

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text + u'\n'), stream);
}

int usageError(const QCommandLineParser &parser, const QString &message)
{
    print(stderr, u"quillon-pack: "_s + message);
    print(stderr, parser.helpText());
    return 2;
}

// "--folder KIND=NAME" names the source and output folder of a data kind.
bool applyFolder(const QString &value, DataSetPacker::Options &options)
{
    const qsizetype equals = value.indexOf(u'=');
    const QString kind = value.left(equals).trimmed();
    const QString name = value.mid(equals + 1).trimmed();
    for (DataKind dataKind : AllDataKinds) {
        if (equals > 0 && !name.isEmpty()
            && kind.compare(DataKindName(dataKind), Qt::CaseInsensitive) == 0) {
            options.folders[KindIndex(dataKind)] = QDir::fromNativeSeparators(name);
            options.named[KindIndex(dataKind)] = true;
            return true;
        }
    }
    return false;
}

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
            u"Builds a Quillon data set for delivery.\n\n"
            "Every *.sty, *.sti, *.tex and *.tfc file below the STY, STI and DETAIL\n"
            "folders of SOURCE_DIR is written as a package (its name plus \"_\") in the\n"
            "same place below OUTPUT_DIR, compressed when that makes it smaller, and\n"
            "OUTPUT_DIR/dataset.ini describes the kinds found. SOURCE_DIR is only read;\n"
            "OUTPUT_DIR may not lie inside it.\n\n"
            "Data sets are installed on Windows, so names that cannot exist there are\n"
            "refused, each named, and nothing is written: device names (CON, PRN, AUX,\n"
            "NUL, COM1-COM9, LPT1-LPT9, with any extension), names that end in a dot or\n"
            "a space, names with < > : \" | ? * \\ or a control character, and names in\n"
            "one folder that differ only in letter case; --folder names likewise. Paths\n"
            "longer than 260 characters are allowed: the installer reads them on every\n"
            "Windows version.\n\n"
            "Exit status: 0 done, 1 a file or folder failed, 2 usage error."_s);
    parser.addHelpOption();
    parser.addPositionalArgument(u"SOURCE_DIR"_s, u"Folder holding the kind folders."_s);
    parser.addPositionalArgument(u"OUTPUT_DIR"_s, u"Folder to write the data set into."_s);
    parser.addOption({u"year"_s, u"Year shown by the installer."_s, u"Y"_s});
    parser.addOption({u"season"_s, u"Season shown by the installer."_s, u"S"_s});
    parser.addOption({u"volume"_s, u"Volume number shown by the installer."_s, u"N"_s});
    parser.addOption({u"installer"_s,
                      u"Makes OUTPUT_DIR a delivery: copies the Windows programs (quillon.exe, "
                      "quillon.com), their language files and pictures from DIR beside the "
                      "data set, reads every package back, and lists what the folder holds."_s,
                      u"DIR"_s});
    parser.addOption({u"folder"_s,
                      u"Folder name of a kind instead of STY, STI or DETAIL, "
                      "e.g. STY=STY_2027SS (may be repeated)."_s,
                      u"KIND=NAME"_s});
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"quillon-pack"_s);
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(app.arguments()))
        return usageError(parser, parser.errorText());
    if (parser.isSet(u"help"_s)) {
        print(stdout, parser.helpText());
        return 0;
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() != 2)
        return usageError(parser, u"give SOURCE_DIR and OUTPUT_DIR"_s);

    DataSetPacker::Options options;
    // Absolute, so that relative folders map each file to the same relative
    // place below the output folder.
    options.sourceDir = absoluteFolder(folders[0]);
    options.outputDir = absoluteFolder(folders[1]);
    if (parser.isSet(u"installer"_s))
        options.installerDir = absoluteFolder(parser.value(u"installer"_s));
    options.year = parser.value(u"year"_s);
    options.season = parser.value(u"season"_s);
    bool volumeOk = true;
    if (parser.isSet(u"volume"_s))
        options.volume = parser.value(u"volume"_s).toInt(&volumeOk);
    if (!volumeOk)
        return usageError(parser, u"--volume needs a whole number"_s);
    for (const QString &value : parser.values(u"folder"_s)) {
        if (!applyFolder(value, options))
            return usageError(parser, u"--folder needs STY=NAME, STI=NAME or DETAIL=NAME"_s);
    }

    DataSetPacker packer(options);
    const bool ok = packer.run();
    for (const QString &line : packer.summary())
        print(stdout, line);
    for (const QString &line : packer.errors())
        print(stderr, u"quillon-pack: "_s + line);
    if (ok && !options.installerDir.isEmpty()) {
        for (const QString &line : DeliveryFolder::Contents(options.outputDir))
            print(stdout, line);
    }
    return ok ? 0 : 1;
}
