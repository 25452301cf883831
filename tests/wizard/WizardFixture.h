#pragma once

#include "i18n/Languages.h"
#include "i18n/TextTable.h"
#include "selection/DataSetDescription.h"
#include "wizard/FolderListView.h"
#include "wizard/TSTYInstallForm.h"

#include "MessageBoxAnswers.h"
#include "PackageBytes.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

// What the wizard's widget tests start from: a data set with all three kinds
// (a packed file per unit), a registry export naming Vestra 3.1 and its
// folder, all in a fresh temporary folder, and the English texts. open()
// plays the welcome window's part: a hidden owner, then the wizard's two
// set-up calls.
class WizardFixture
{
public:
    static inline const char *const FolderNames[] = {"STY_27", "STI_27", "DETAIL_27"};

    WizardFixture()
    {
        SetCurrentLanguageName("English");
        // The runs' journals go into this test's folder, not the user's.
        qputenv("QUILLON_JOURNAL_DIR", dir.filePath("appdata/Quillon").toLocal8Bit());
        LoadTextTable(texts, QUILLON_RESOURCES_DIR, "English", "InstallForm");
        settings.programFolder = QUILLON_RESOURCES_DIR;
        settings.dataSetFolder = dir.filePath("dataset");
        settings.registryFile = dir.filePath("registry.reg");
        settings.statusFolder = dir.filePath("status");
        const QDir root(dir.path());
        for (const char *folder : {"Vestra/Bin/Style", "Vestra/Bin/stiSample", "Vestra/Bin/Detail",
                                   "Vestra/Color", "status", "elsewhere/shared"})
            root.mkpath(folder);
        writeDataSet(true, true, true);
        writeRegistry("3.1");
        const QString data = settings.dataSetFolder;
        const auto sty = PackageBytes::compressed("STYComp", styData());
        TestFiles::write(data + "/STY_27/Casual/Blouse/b1.sty_", sty);
        TestFiles::write(data + "/STY_27/Casual/Pants/p1.sty_", sty);
        TestFiles::write(data + "/STY_27/Formal/Coat/c1.sty_", sty);
        TestFiles::write(data + "/STI_27/Sample/Front/f1.sti_",
                         PackageBytes::compressed("STIComp", stiData()));
        TestFiles::write(data + "/DETAIL_27/Collar/d1.sty_", sty);
        TestFiles::write(data + "/DETAIL_27/Pocket/d2.tex_",
                         PackageBytes::compressed("TEXComp", texData()));
    }

    ~WizardFixture()
    {
        delete owner.data(); // takes the wizard with it
        delete wizard.data();
    }

    static QByteArray styData() { return PackageBytes::styData(3000); }
    static QByteArray stiData() { return PackageBytes::stiData(900); }
    static QByteArray texData() { return PackageBytes::data(2000); }
    static QString native(const QString &path) { return QDir::toNativeSeparators(path); }

    void writeDataSet(bool sty, bool sti, bool detail)
    {
        const QString ini = QStringLiteral("[DataSet]\nYear=2027\nSeason=S/S\nVolume=12\n"
                                           "[STY]\nPresent=%1\nFolder=STY_27\n"
                                           "[STI]\nPresent=%2\nFolder=STI_27\n"
                                           "[DETAIL]\nPresent=%3\nFolder=DETAIL_27\n")
                                    .arg(int(sty))
                                    .arg(int(sti))
                                    .arg(int(detail));
        TestFiles::write(settings.dataSetFolder + "/dataset.ini", ini.toUtf8());
    }

    void writeRegistry(const QString &version)
    {
        const QString reg
                = QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Kestrel\\Vestra\\%1\\Directory]\n"
                                 "\"Defaultdir\"=\"%2\"\n")
                          .arg(version, dir.filePath("Vestra"));
        TestFiles::write(settings.registryFile, reg.toUtf8());
    }

    // False, with the reason printed, when the wizard cannot be prepared.
    [[nodiscard]] bool open()
    {
        owner = new QWidget;
        owner->setAttribute(Qt::WA_DeleteOnClose);
        wizard = new TSTYInstallForm(settings, owner);
        wizard->show();
        wizard->ApplyInstallFormTexts();
        DataSetDescription description;
        if (!wizard->Prepare(description)) {
            qWarning("%s", qPrintable(wizard->PrepareFailureMessage()));
            return false;
        }
        return description.year == u"2027" && QTest::qWaitForWindowExposed(wizard);
    }

    QString text(int number) const { return GetText(texts, number); }
    QString base() const { return dir.filePath("Vestra/Bin/"); }
    QString destination(int kind) const { return base() + FolderNames[kind]; }

    template<typename T = QWidget>
    T *child(const char *name) const
    {
        T *found = wizard->findChild<T *>(QLatin1String(name));
        if (!found)
            qWarning("no control %s", name);
        return found;
    }
    QString page() const { return child<QStackedWidget>("pages")->currentWidget()->objectName(); }
    void click(const char *name)
    {
        auto *button = child<QAbstractButton>(name);
        // A check box or radio button takes a click only on its mark or its
        // text; its middle may lie beyond a short text.
        const bool marked = button->inherits("QCheckBox") || button->inherits("QRadioButton");
        const QPoint at = marked ? QPoint(6, button->height() / 2) : button->rect().center();
        QTest::mouseClick(button, Qt::LeftButton, {}, at);
    }

    // Page 1's check boxes and install type.
    void setKinds(bool sty, bool sti, bool detail, bool user)
    {
        for (auto [name, on] : {std::pair{"cbSTYInstall", sty}, std::pair{"cbSTIInstall", sti},
                                std::pair{"cbDETAILInstall", detail}}) {
            if (child<QCheckBox>(name)->isChecked() != on)
                click(name);
        }
        click(user ? "rbUser" : "rbBasic");
    }

    // A folder button, the location dialog opened on it, the folder chosen and OK.
    void chooseFolder(const char *button, const QString &folder)
    {
        ModalWatcher watcher([folder](QWidget *dialog) {
            dialog->findChild<FolderListView *>("DirectoryListBox")->setDirectory(folder);
            QTest::mouseClick(dialog->findChild<QPushButton *>("btOK"), Qt::LeftButton);
        });
        click(button);
        QVERIFY(watcher.answered());
    }

    // A press on a node's check image.
    void pressNode(const char *tree, const QString &node)
    {
        auto *view = child<QTreeWidget>(tree);
        view->expandAll();
        const auto found = view->findItems(node, Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        const QRect rect = view->visualItemRect(found.first());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          QPoint(rect.left() + 8, rect.center().y()));
    }

    // Clicks a button and answers the one message box it brings up.
    QList<SeenBox> clickAndAnswer(const char *button, QMessageBox::StandardButton answer)
    {
        QList<SeenBox> seen;
        ModalWatcher watcher(PressOnBox(answer, &seen));
        click(button);
        if (!watcher.answered())
            seen.append({QStringLiteral("<no answer>"), {}});
        return seen;
    }

    QTemporaryDir dir;
    RunSettings settings;
    LanguageTextTable texts;
    QPointer<QWidget> owner;
    QPointer<TSTYInstallForm> wizard;
};
