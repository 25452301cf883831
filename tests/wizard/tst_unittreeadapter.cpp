#include "selection/UnitTree.h"
#include "wizard/UnitTreeAdapter.h"

#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

class tst_UnitTreeAdapter : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void populate();
    void pressOnNode_data();
    void pressOnNode();
    void pressElsewhere_data();
    void pressElsewhere();
    void spaceOnFocusedNode();

private:
    QTreeWidgetItem *itemOf(const QString &text) const;
    int imageShown(const QString &text) const;

    QTemporaryDir *m_dir = nullptr;
    QTreeWidget *m_view = nullptr;
    UnitTree m_tree;
    UnitTreeAdapter *m_adapter = nullptr;
    std::array<QIcon, 3> m_images;
};

namespace {

QIcon square(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

} // namespace

void tst_UnitTreeAdapter::init()
{
    m_dir = new QTemporaryDir;
    const QString source = m_dir->filePath("STI_27");
    for (const char *folder : {"FirstUnit/GarmentOne", "FirstUnit/GarmentTwo", "SecondUnit/Three"})
        QVERIFY(QDir(source).mkpath(folder));
    QVERIFY(m_tree.build(DataKind::STI, source, "STI_27"));

    m_images = {square(Qt::white), square(Qt::black), square(Qt::gray)};
    m_view = new QTreeWidget;
    m_view->setObjectName("tvSelectUnit2");
    m_view->resize(500, 300);
    m_adapter = new UnitTreeAdapter(m_view, &m_tree, m_images, m_view);
    m_adapter->populate();
    m_view->expandAll();
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void tst_UnitTreeAdapter::cleanup()
{
    delete m_view;
    delete m_dir;
}

QTreeWidgetItem *tst_UnitTreeAdapter::itemOf(const QString &text) const
{
    const auto found = m_view->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

int tst_UnitTreeAdapter::imageShown(const QString &text) const
{
    const qint64 key = itemOf(text)->icon(0).cacheKey();
    for (int i = 0; i < 3; ++i) {
        if (m_images[i].cacheKey() == key)
            return i;
    }
    return -1;
}

void tst_UnitTreeAdapter::populate()
{
    QCOMPARE(m_view->topLevelItemCount(), 1);
    QCOMPARE(m_view->topLevelItem(0)->text(0), QString("STI_27"));
    QCOMPARE(m_view->topLevelItem(0)->childCount(), 2);
    QCOMPARE(m_adapter->item(3)->text(0), QString("GarmentTwo")); // pre-order index
    QCOMPARE(m_view->editTriggers(), QAbstractItemView::NoEditTriggers);
    for (const char *text : {"STI_27", "FirstUnit", "GarmentOne", "SecondUnit", "Three"})
        QCOMPARE(imageShown(text), 1);
}

void tst_UnitTreeAdapter::pressOnNode_data()
{
    QTest::addColumn<QString>("where"); // "image" or "label"
    QTest::addColumn<Qt::MouseButton>("button");

    QTest::newRow("left on image") << "image" << Qt::LeftButton;
    QTest::newRow("left on label") << "label" << Qt::LeftButton;
    QTest::newRow("right on label") << "label" << Qt::RightButton;
    QTest::newRow("middle on image") << "image" << Qt::MiddleButton;
}

void tst_UnitTreeAdapter::pressOnNode()
{
    QFETCH(QString, where);
    QFETCH(Qt::MouseButton, button);
    QSignalSpy changed(m_adapter, &UnitTreeAdapter::checksChanged);

    const QRect rect = m_view->visualItemRect(itemOf("GarmentOne"));
    const int x = where == "image" ? rect.left() + 8 : rect.left() + 40;
    QTest::mouseClick(m_view->viewport(), button, {}, QPoint(x, rect.center().y()));

    QCOMPARE(changed.size(), 1);
    QCOMPARE(imageShown("GarmentOne"), 0);
    QCOMPARE(imageShown("GarmentTwo"), 1);
    QCOMPARE(imageShown("FirstUnit"), 2);
    QCOMPARE(imageShown("STI_27"), 2);
    QCOMPARE(m_tree.node(2).image, 0);

    // A press on the parent's image checks it and its children again.
    const QRect parent = m_view->visualItemRect(itemOf("FirstUnit"));
    QTest::mouseClick(m_view->viewport(), button, {},
                      QPoint(parent.left() + 8, parent.center().y()));
    QCOMPARE(imageShown("GarmentOne"), 1);
    QCOMPARE(imageShown("FirstUnit"), 1);
    QCOMPARE(imageShown("STI_27"), 1);
}

void tst_UnitTreeAdapter::pressElsewhere_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("indentation") << "indentation";
    QTest::newRow("expand button") << "button";
    QTest::newRow("empty space after the label") << "after";
    QTest::newRow("below the last node") << "below";
}

void tst_UnitTreeAdapter::pressElsewhere()
{
    QFETCH(QString, where);
    QSignalSpy changed(m_adapter, &UnitTreeAdapter::checksChanged);

    const QRect garment = m_view->visualItemRect(itemOf("GarmentOne"));
    const QRect unit = m_view->visualItemRect(itemOf("FirstUnit"));
    QPoint pos;
    if (where == "indentation")
        pos = QPoint(garment.left() - m_view->indentation() - 4, garment.center().y());
    else if (where == "button")
        pos = QPoint(unit.left() - m_view->indentation() / 2, unit.center().y());
    else if (where == "after")
        pos = QPoint(m_view->viewport()->width() - 5, garment.center().y());
    else
        pos = QPoint(garment.left() + 8, m_view->viewport()->height() - 5);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, pos);

    QCOMPARE(changed.size(), 0);
    for (int i = 0; i < m_tree.nodeCount(); ++i)
        QCOMPARE(m_tree.node(i).image, 1);
    QCOMPARE(imageShown("GarmentOne"), 1);
}

// Space on the focused node is a click on its label; other keys keep their use.
void tst_UnitTreeAdapter::spaceOnFocusedNode()
{
    QSignalSpy changed(m_adapter, &UnitTreeAdapter::checksChanged);
    m_view->setFocus();
    m_view->setCurrentItem(itemOf("GarmentOne"));
    QTest::keyClick(m_view, Qt::Key_Space);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(imageShown("GarmentOne"), 0);
    QCOMPARE(imageShown("FirstUnit"), 2);

    QTest::keyClick(m_view, Qt::Key_Up); // FirstUnit, partly checked
    QTest::keyClick(m_view, Qt::Key_Space);
    QCOMPARE(imageShown("GarmentOne"), 1);
    QCOMPARE(imageShown("FirstUnit"), 1);
    QTest::keyClick(m_view, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(changed.size(), 2);
}

QTEST_MAIN(tst_UnitTreeAdapter)
#include "tst_unittreeadapter.moc"
