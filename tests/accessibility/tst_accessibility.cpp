#include "i18n/LocalTexts.h"
#include "i18n/SpokenText.h"
#include "i18n/TextNumbers.h"
#include "platform/DriveList.h"
#include "shell/TLanguageForm.h"
#include "shell/TMainForm.h"
#include "ui/Accessibility.h"
#include "ui/Pictures.h"
#include "ui/ShellOpen.h"
#include "ui/TMessageDialog.h"
#include "wizard/TDirectoryDlgForm.h"
#include "wizard/WizardInstallUi.h"

#include "AccessibleTree.h"
#include "ModalWatcher.h"
#include "WizardFixture.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QSet>
#include <QtTest>

#include <functional>
#include <memory>

using AccessibleTree::Node;

namespace {

// Roles a person acts on; each needs a name of its own.
const QSet<QAccessible::Role> ActedOn{QAccessible::PushButton,   QAccessible::CheckBox,
                                      QAccessible::RadioButton,  QAccessible::ComboBox,
                                      QAccessible::MenuItem,     QAccessible::Link,
                                      QAccessible::TreeItem,     QAccessible::Tree,
                                      QAccessible::EditableText, QAccessible::ProgressBar};

QSet<QString> spokenTexts(const QString &language)
{
    QSet<QString> texts;
    for (const char *section : {"Main", "InstallForm", "DirectoryDlgForm"}) {
        LanguageTextTable table;
        (void) LoadTextTable(table, QUILLON_RESOURCES_DIR, language, section);
        for (const QString &text : std::as_const(table.texts))
            texts.insert(SpokenText(text));
    }
    texts.remove(QString());
    return texts;
}

// Parts of the tree that are hidden by nature: a closed popup menu or drop
// down list and what it holds, a scroll bar a view does not need.
bool hiddenByNature(const Node &node)
{
    const bool scrollBar = std::any_of(
            node.objectPath.cbegin(), node.objectPath.cend(),
            [](const QString &name) { return name.startsWith(QLatin1String("qt_scrollarea_")); });
    return scrollBar || node.role == QAccessible::PopupMenu
           || node.parentRole == QAccessible::PopupMenu || node.parentRole == QAccessible::ComboBox
           || node.parentRole == QAccessible::List;
}

// A name as a screen reader should say it: no padding, no access key marks,
// no line breaks.
bool isSpoken(const QString &name)
{
    return name == name.simplified() && !name.contains(QLatin1String("(&"))
           && !QRegularExpression(QStringLiteral("&\\w")).match(name).hasMatch();
}

// What every node of a window must be for a screen reader: nothing hidden,
// no English in another language (foreign: the English texts that the
// language does not share), every control and every picture of our own
// named, every name without padding. An empty string when all hold.
QString fault(const QList<Node> &nodes, const QSet<QString> &foreign)
{
    for (const Node &node : nodes) {
        const QString where = AccessibleTree::describe(node);
        if (hiddenByNature(node))
            continue;
        if (node.state.invisible)
            return "hidden, yet in the tree: " + where;
        if (foreign.contains(node.name) || foreign.contains(node.description))
            return "English in another language: " + where;
        const bool ours = !node.objectName.startsWith(QLatin1String("qt_"));
        if (node.role == QAccessible::Graphic && ours && node.name.isEmpty())
            return "a picture without its text: " + where;
        if (!ActedOn.contains(node.role) && !node.state.focusable)
            continue;
        // On Linux Qt names a combo box by its value and ties it to its
        // caption by a relation, which screen readers read as its name.
        if (node.name.isEmpty() && !(node.role == QAccessible::ComboBox && node.labelled))
            return "no name: " + where;
        if (!isSpoken(node.name))
            return "padded name: " + where;
    }
    return {};
}

} // namespace

class tst_Accessibility : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void everyControlNamed_data();
    void everyControlNamed();
    void questionsReadInLanguage_data();
    void questionsReadInLanguage();
    void linksAreLinks();
    void menuEntriesWithoutPadding();
    void unitTreeChecks();
    void folderRows();
    void runIsAnnounced();

private:
    QWidget *open(const QString &window);
    QList<Node> nodesOf(QWidget *window);

    std::unique_ptr<WizardFixture> m_fixture;
    std::unique_ptr<TLanguageForm> m_languageForm;
    std::unique_ptr<TMainForm> m_welcome;
    std::unique_ptr<TDirectoryDlgForm> m_dialog;
    QList<QUrl> m_opened;
};

void tst_Accessibility::initTestCase()
{
    InitPictures();
    Accessibility::Install();
    SetShellOpenHandler([this](const QUrl &url) { m_opened << url; });
}

void tst_Accessibility::init()
{
    m_fixture = std::make_unique<WizardFixture>();
    m_opened.clear();
}

void tst_Accessibility::cleanup()
{
    m_dialog.reset();
    m_welcome.reset();
    m_languageForm.reset();
    m_fixture.reset();
}

QList<Node> tst_Accessibility::nodesOf(QWidget *window)
{
    return AccessibleTree::of(window);
}

// The window of a row, open and shown in the current language.
QWidget *tst_Accessibility::open(const QString &window)
{
    WizardFixture &f = *m_fixture;
    if (window == "language window") {
        m_languageForm = std::make_unique<TLanguageForm>(f.settings);
        m_languageForm->show();
        return m_languageForm.get();
    }
    if (window == "welcome window") {
        m_welcome = std::make_unique<TMainForm>(f.settings, nullptr);
        m_welcome->show();
        return m_welcome.get();
    }
    if (window == "location dialog") {
        m_dialog = std::make_unique<TDirectoryDlgForm>(QUILLON_RESOURCES_DIR, OpenDriveList());
        LocationSetup setup;
        setup.startPath = f.base();
        setup.versionList = QStringList{"2.5", "3.1"};
        setup.versionFolderList = QStringList{f.base(), f.base()};
        m_dialog->SetUp(setup);
        m_dialog->show();
        return m_dialog.get();
    }
    if (!f.open())
        return nullptr;
    if (window == "unit page") {
        f.setKinds(true, true, true, true);
        f.click("sbNext1");
    } else if (window == "install page") {
        f.click("sbNext1");
        f.clickAndAnswer("btInstall", QMessageBox::No);
    }
    return f.wizard;
}

void tst_Accessibility::everyControlNamed_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("window");
    // Controls whose names come from the language table: name, section, number.
    QTest::addColumn<QStringList>("named");
    const QStringList windows{"language window", "welcome window", "wizard page 1",
                              "unit page",       "install page",   "location dialog"};
    const QMap<QString, QStringList> named{
            {"welcome window", {"sbNext:Main:6", "lbHomepage:Main:18", "ScrollBox1:Main:46"}},
            {"wizard page 1", {"sbNext1:InstallForm:11", "cbSTYInstall:InstallForm:157"}},
            {"unit page", {"tvSelectUnit:InstallForm:157", "sbNext2:InstallForm:11"}},
            {"install page", {"Installprgbar:InstallForm:211", "mmInstallStatus:InstallForm:212"}},
            {"location dialog", {"DirectoryListBox:DirectoryDlgForm:2"}}};
    for (const QString language : {"English", "Korean"}) {
        for (const QString &window : windows)
            QTest::addRow("%s, %s", qPrintable(window), qPrintable(language))
                    << language << window << named.value(window);
    }
}

// GIVEN a window in a language WHEN its tree is read THEN every control a
// person acts on has a name without padding, no English text stands in a
// Korean window, nothing hidden is in the tree, and the controls named from
// the language table carry that table's text.
void tst_Accessibility::everyControlNamed()
{
    QFETCH(QString, language);
    QFETCH(QString, window);
    QFETCH(QStringList, named);
    SetCurrentLanguageName(language);
    QWidget *shown = open(window);
    QVERIFY(shown);
    QVERIFY(QTest::qWaitForWindowExposed(shown));

    QSet<QString> foreign;
    // The language window's own words are English in every language.
    if (language != "English" && window != "language window")
        foreign = spokenTexts("English") - spokenTexts(language);
    const QList<Node> nodes = nodesOf(shown);
    QVERIFY(nodes.size() > 5);
    const QString wrong = fault(nodes, foreign);
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
    for (const QString &entry : named) {
        const QStringList parts = entry.split(u':');
        LanguageTextTable table;
        (void) LoadTextTable(table, QUILLON_RESOURCES_DIR, language, parts.at(1));
        const QString expected = SpokenText(GetText(table, parts.at(2).toInt()));
        auto *widget = shown->findChild<QWidget *>(parts.at(0));
        QVERIFY2(widget, qPrintable(parts.at(0)));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(iface->text(QAccessible::Name), expected);
    }
}

void tst_Accessibility::questionsReadInLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("question");
    for (const QString language : {"English", "Korean"}) {
        for (const QString question :
             {"overwrite", "cancel", "remove", "close", "save", "warning", "create folder"})
            QTest::addRow("%s, %s", qPrintable(question), qPrintable(language))
                    << language << question;
    }
}

// Every question is a dialog that says its text with its title, whose
// buttons are named in the window's language without access keys, and
// whose tree holds nothing a screen reader should not say.
void tst_Accessibility::questionsReadInLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, question);
    SetCurrentLanguageName(language);
    WizardFixture &f = *m_fixture;
    QVERIFY(f.open());
    LanguageTextTable texts;
    (void) LoadTextTable(texts, QUILLON_RESOURCES_DIR, language, "InstallForm");
    LanguageTextTable dialogTexts;
    (void) LoadTextTable(dialogTexts, QUILLON_RESOURCES_DIR, language, "DirectoryDlgForm");
    WizardInstallUi windowUi({f.wizard, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, {}},
                             texts);
    const QMap<QString, std::pair<int, QString>> questions{
            {"overwrite", {InstallText::OverwriteQuestion, "Question"}},
            {"cancel", {InstallText::CancelQuestion, "Cancel"}},
            {"remove", {InstallText::RemoveFilesQuestion, "Remove Files"}},
            {"close", {InstallText::CloseQuestion, "Close Installer"}},
            {"save", {InstallText::SaveListsQuestion, "Save fail list"}},
            {"warning", {InstallText::SourceFolderMissing, "Warning"}}};
    const auto [number, caption] = questions.value(question);
    QString text = GetText(texts, number) + "C:\\Vestra\\Bin\\a.sty";
    QString title = InstallCaption(texts, caption);
    QStringList expected;
    if (question == "overwrite") {
        for (const QString &piece : GetText(texts, InstallText::OverwriteButtons).split(u'|'))
            expected << SpokenText(piece);
    } else if (question == "warning") {
        expected << SpokenText(GetText(texts, InstallText::OkButton));
    } else if (question == "create folder") {
        text = GetText(dialogTexts, DirectoryText::NewFolderName);
        title = GetText(dialogTexts, DirectoryText::CreateFolderEntry);
        expected << SpokenText(GetText(dialogTexts, DirectoryText::OkButton))
                 << SpokenText(GetText(dialogTexts, DirectoryText::CancelButton));
    } else {
        expected << SpokenText(GetText(texts, InstallText::YesButton))
                 << SpokenText(GetText(texts, InstallText::NoButton));
    }

    QList<Node> nodes;
    QString wrong;
    const QSet<QString> foreign = language == "English"
                                          ? QSet<QString>()
                                          : spokenTexts("English") - spokenTexts(language);
    ModalWatcher watcher([&](QWidget *dialog) {
        nodes = AccessibleTree::of(dialog);
        wrong = fault(nodes, foreign);
        dialog->close();
    });
    if (question == "overwrite") {
        (void) windowUi.askOverwrite(text);
    } else if (question == "warning") {
        windowUi.showWarning(text, caption);
    } else if (question == "create folder") {
        open("location dialog");
        m_dialog->findChild<QAction *>("miCreateFolder")->trigger();
    } else {
        (void) windowUi.askYesNo(Question::CloseInstaller, text, caption);
    }
    QVERIFY(watcher.answered());
    QVERIFY(!nodes.isEmpty());
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong));

    const Node &box = nodes.first();
    QVERIFY2(box.role == QAccessible::Dialog || box.role == QAccessible::AlertMessage,
             qPrintable(AccessibleTree::describe(box)));
    QCOMPARE(box.name, title);
    QString said = box.description + box.value;
    for (const Node &node : nodes)
        said += node.name; // a box that does not say its text holds it as a label
    QVERIFY2(said.remove(QChar(0x200B)).contains(SpokenText(text).section(u' ', 0, 1)),
             qPrintable(said));
    QStringList buttons;
    for (const Node &node : nodes) {
        if (node.role == QAccessible::PushButton)
            buttons << node.name;
    }
    std::sort(buttons.begin(), buttons.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(buttons, expected);
}

// The links of the welcome window are links: their action opens them.
void tst_Accessibility::linksAreLinks()
{
    SetCurrentLanguageName("Korean");
    QWidget *welcome = open("welcome window");
    QVERIFY(QTest::qWaitForWindowExposed(welcome));
    QStringList opened;
    for (const char *name : {"lbHomepage", "lbEMail"}) {
        QAccessibleInterface *link
                = QAccessible::queryAccessibleInterface(welcome->findChild<QLabel *>(name));
        QCOMPARE(link->role(), QAccessible::Link);
        QVERIFY(link->state().focusable);
        QVERIFY(!link->text(QAccessible::Description).isEmpty());
        QAccessibleActionInterface *actions = link->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
    }
    QCOMPARE(m_opened.size(), 2);
    QVERIFY(m_opened.at(1).scheme() == "mailto");
    // The card, a picture, is read in the words it is drawn from.
    QAccessibleInterface *card
            = QAccessible::queryAccessibleInterface(welcome->findChild<QLabel *>("imgReadMe"));
    LanguageTextTable main;
    (void) LoadTextTable(main, QUILLON_RESOURCES_DIR, "Korean", "Main");
    for (int number : {MainText::ReadmeInstallsBody, MainText::ReadmeStep1, MainText::ReadmeStep4})
        QVERIFY(card->text(QAccessible::Description).contains(GetText(main, number)));
}

// "&Close            Alt+F4" is the entry "Close" with the accelerator Alt+F4.
void tst_Accessibility::menuEntriesWithoutPadding()
{
    SetCurrentLanguageName("English");
    QWidget *welcome = open("welcome window");
    auto *close = welcome->findChild<QAction *>("msmClose");
    QAccessibleInterface *entry = QAccessible::queryAccessibleInterface(close);
    QVERIFY(entry);
    QCOMPARE(entry->role(), QAccessible::MenuItem);
    QCOMPARE(entry->text(QAccessible::Name), QString("Close"));
    QCOMPARE(entry->text(QAccessible::Accelerator), QString("Alt+F4"));
    QVERIFY(entry->parent()
            && entry->parent()->object()
                       == static_cast<QObject *>(welcome->findChild<QMenu *>("mmProgram")));
    QAccessibleInterface *english
            = QAccessible::queryAccessibleInterface(welcome->findChild<QAction *>("msmEnglish"));
    QVERIFY(english->state().checkable && !english->state().checked);
    english->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(english->state().checked);
}

// Unticking a unit makes its parent partly checked, whether Space or the
// row's action did it. (The state change events that go with it are read
// through AT-SPI by tst_atspi: offscreen, Qt sends none.)
void tst_Accessibility::unitTreeChecks()
{
    SetCurrentLanguageName("Korean");
    QWidget *wizard = open("unit page");
    auto *view = wizard->findChild<QTreeWidget *>("tvSelectUnit");
    QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(view);
    QVERIFY(!tree->text(QAccessible::Name).isEmpty());
    view->expandAll();
    auto rowNamed = [&](const QString &name) -> QAccessibleInterface * {
        for (int i = 0; i < tree->childCount(); ++i) {
            if (tree->child(i)->text(QAccessible::Name) == name)
                return tree->child(i);
        }
        return nullptr;
    };
    QAccessibleInterface *casual = rowNamed("Casual");
    QAccessibleInterface *top = nullptr;
    for (int i = tree->indexOfChild(casual) + 1; i < tree->childCount() && !top; ++i)
        top = tree->child(i)->text(QAccessible::Name) == "Top" ? tree->child(i) : nullptr;
    QVERIFY(casual && top);
    QVERIFY(casual->state().checkable && casual->state().checked);
    QVERIFY(casual->state().expandable && casual->state().expanded);

    view->setFocus();
    view->setCurrentItem(view->findItems("Top", Qt::MatchExactly | Qt::MatchRecursive).first());
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(!top->state().checked && !top->state().checkStateMixed);
    QVERIFY(casual->state().checkStateMixed && !casual->state().checked);

    top->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(top->state().checked);
    QVERIFY(casual->state().checked && !casual->state().checkStateMixed);
}

// The folder rows: named by the folder, described by its path, expandable
// only where they hold rows; a row's action opens its folder.
void tst_Accessibility::folderRows()
{
    SetCurrentLanguageName("English");
    QWidget *dialog = open("location dialog");
    auto *view = dialog->findChild<FolderListView *>("DirectoryListBox");
    QAccessibleInterface *tree = QAccessible::queryAccessibleInterface(view);
    QAccessibleInterface *bin = nullptr;
    QAccessibleInterface *style = nullptr;
    for (int i = 0; i < tree->childCount(); ++i) {
        QAccessibleInterface *row = tree->child(i);
        QVERIFY(row->text(QAccessible::Description)
                        .endsWith(QDir::toNativeSeparators(row->text(QAccessible::Name))
                                          .remove(u'\\')
                                          .remove(u'/'))
                || row->text(QAccessible::Name) == row->text(QAccessible::Description));
        if (row->text(QAccessible::Name) == "Bin")
            bin = row;
        if (row->text(QAccessible::Name) == "Style")
            style = row;
    }
    QVERIFY(bin && style);
    QVERIFY(bin->state().expandable && bin->state().expanded);
    QVERIFY(!style->state().expandable && !style->state().expanded);
    QCOMPARE(style->text(QAccessible::Description),
             QDir::toNativeSeparators(m_fixture->base() + "Style"));
    style->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(view->directory(), m_fixture->base() + "Style");
    QVERIFY(dialog->isVisible()); // opening a folder is not OK
}

// A run tells screen readers its stages and memo lines as the progress
// bar's description, which ends on the last line; the bar says its value.
void tst_Accessibility::runIsAnnounced()
{
    SetCurrentLanguageName("English");
    QWidget *wizard = open("wizard page 1");
    m_fixture->click("sbNext1");
    m_fixture->clickAndAnswer("btInstall", QMessageBox::No);
    auto *bar = wizard->findChild<QProgressBar *>("Installprgbar");
    QAccessibleInterface *progress = QAccessible::queryAccessibleInterface(bar);
    QVERIFY(progress->valueInterface());
    QCOMPARE(progress->valueInterface()->currentValue().toInt(), 100);
    const QString lastLine = m_fixture->text(InstallText::DetailInstalled);
    QCOMPARE(progress->text(QAccessible::Description), SpokenText(lastLine));
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
