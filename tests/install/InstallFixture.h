#pragma once

#include "PackageBytes.h"
#include "ScriptedInstallUi.h"
#include "TestFiles.h"
#include "i18n/TextTable.h"
#include "install/InstallContext.h"
#include "selection/UnitTree.h"
#include "selection/WizardState.h"

#include <QTemporaryDir>

#include <array>

// A data set and a destination in a fresh temporary folder, the wizard's state
// pointing at them, the English texts and a scripted interface: what every
// engine test starts from.
class InstallFixture
{
public:
    InstallFixture() : context(state, texts, ui)
    {
        LoadTextTable(texts, QStringLiteral(QUILLON_RESOURCES_DIR), QStringLiteral("English"),
                      QStringLiteral("InstallForm"));
        dataSet = dir.filePath(QStringLiteral("dataset"));
        base = dir.filePath(QStringLiteral("Vestra/Bin/"));
        context.statusFolder = dir.filePath(QStringLiteral("status"));
        context.journalFolder = dir.filePath(QStringLiteral("journal"));
        context.lockFolder = dir.filePath(QStringLiteral("locks"));
        QDir().mkpath(context.statusFolder);
        const char *names[] = {"STY_2027SS", "STI_2027SS", "DETAIL_2027SS"};
        for (DataKind kind : AllDataKinds) {
            KindState &k = state.kind(kind);
            k.enabled = true;
            k.folderName = QString::fromLatin1(names[KindIndex(kind)]);
            k.sourceFolder = dataSet + u'/' + k.folderName;
            k.destination = base + k.folderName;
            QDir().mkpath(k.sourceFolder);
        }
    }

    QString source(DataKind kind, const QString &rel) const
    {
        return state.kind(kind).sourceFolder + u'/' + rel;
    }
    QString destination(DataKind kind, const QString &rel) const
    {
        return state.kind(kind).destination + u'/' + rel;
    }

    // Writes a packed file into the data set.
    void addPackage(DataKind kind, const QString &rel, const QByteArray &bytes)
    {
        QVERIFY(TestFiles::write(source(kind, rel), bytes));
    }

    // A compressed STY package whose plain data is remembered for checking.
    void addSty(DataKind kind, const QString &rel, int seed = 1)
    {
        const QByteArray data = PackageBytes::styData(3000 + seed * 7, 600 + seed);
        addPackage(kind, rel, PackageBytes::compressed("STYComp", data));
        expected[destination(kind, rel.chopped(1))] = data;
    }
    void addSti(const QString &rel, int seed = 1)
    {
        const QByteArray data = PackageBytes::stiData(900 + seed * 5, 700 + seed);
        addPackage(DataKind::STI, rel, PackageBytes::compressed("STIComp", data));
        expected[destination(DataKind::STI, rel.chopped(1))] = data;
    }
    void addTex(const QString &rel, int seed = 1)
    {
        const QByteArray data = PackageBytes::data(5000 + seed * 3);
        addPackage(DataKind::DETAIL, rel, PackageBytes::compressed("TEXComp", data));
        expected[destination(DataKind::DETAIL, rel.chopped(1))] = data;
    }

    void select(std::initializer_list<DataKind> kinds)
    {
        for (DataKind kind : AllDataKinds)
            state.kind(kind).selected = false;
        for (DataKind kind : kinds)
            state.kind(kind).selected = true;
    }

    // Builds a kind's unit tree for a User install; every node starts checked.
    UnitTree &tree(DataKind kind)
    {
        KindState &k = state.kind(kind);
        if (k.units.isEmpty())
            [&] { QVERIFY(k.units.build(kind, k.sourceFolder, k.folderName)); }();
        return k.units;
    }
    int nodeOf(DataKind kind, const QString &rel)
    {
        UnitTree &t = tree(kind);
        const QString folder = state.kind(kind).sourceFolder + (rel.isEmpty() ? "" : "/" + rel);
        for (int i = 0; i < t.nodeCount(); ++i) {
            if (t.node(i).folder == folder)
                return i;
        }
        return -1;
    }

    QString text(int number) const { return GetText(texts, number); }

    static std::map<QString, QByteArray> snapshot(const QString &folder)
    {
        return TestFiles::snapshot(folder);
    }

    // True when every expected installed file holds its data, byte for byte,
    // and no packed copy is left in the destination.
    bool installedAsExpected(QString *why) const
    {
        for (const auto &[path, data] : expected) {
            if (TestFiles::read(path) != data) {
                *why = QStringLiteral("wrong or missing: ") + path;
                return false;
            }
        }
        for (const auto &[rel, bytes] : snapshot(base)) {
            if (rel.endsWith(u'_')) {
                *why = QStringLiteral("packed copy left: ") + rel;
                return false;
            }
        }
        return true;
    }

    // The journals a run left behind: none after a run that ended.
    QStringList journals() const
    {
        return QDir(context.journalFolder).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir dir;
    QString dataSet;
    QString base;
    WizardState state;
    LanguageTextTable texts;
    ScriptedInstallUi ui;
    InstallContext context;
    std::map<QString, QByteArray> expected;
};
