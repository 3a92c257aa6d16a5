#pragma once

#include "OfficeTestBackend.h"

#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

inline const QString kPassword = QStringLiteral("708klm");

// A small name list laid out like the program's workbooks: title, counts in D10/D11,
// people from row 13 with list number, name and draw number; a second sheet.
inline vexlo::office::WorkbookContent nameListContent() {
    vexlo::office::SheetContent s;
    s.name = QStringLiteral("sheet1");
    s.set(1, 1, QStringLiteral("随机抽签名单"));
    s.set(10, 4, 5.0);
    s.set(11, 4, 3.0);
    const QStringList names{QStringLiteral("张三"), QStringLiteral(" 李四 "), QStringLiteral("王五"),
                            QStringLiteral("Zoe"), QStringLiteral("adam")};
    for (int k = 1; k <= 5; ++k) {
        s.set(12 + k, 1, double(k));
        s.set(12 + k, 2, names[k - 1]);
    }
    s.set(13, 3, 2.0);
    s.set(15, 3, 1.0);
    vexlo::office::SheetContent other;
    other.name = QStringLiteral("sheet2");
    other.set(1, 1, QStringLiteral("other"));
    return {{s, other}};
}

// Twelve people in groups 1..3 (column D) with draw numbers (column E) and free columns
// C and G that must travel with their rows.
struct GroupRow {
    int group;
    int draw;
};
inline const QList<GroupRow> kGroupRows{{2, 5}, {1, 9}, {3, 2}, {1, 3}, {2, 1},  {3, 12},
                                        {1, 7}, {2, 4}, {3, 6}, {2, 11}, {1, 10}, {3, 8}};

inline vexlo::office::WorkbookContent groupListContent() {
    vexlo::office::SheetContent s;
    s.name = QStringLiteral("sheet1");
    s.set(11, 4, double(kGroupRows.size()));
    for (int i = 0; i < kGroupRows.size(); ++i) {
        const int row = 13 + i;
        s.set(row, 1, double(i + 1));
        s.set(row, 2, QStringLiteral("P%1").arg(i + 1));
        s.set(row, 3, QStringLiteral("c%1").arg(i + 1));
        s.set(row, 4, double(kGroupRows[i].group));
        s.set(row, 5, double(kGroupRows[i].draw));
        s.set(row, 7, QStringLiteral("g%1").arg(i + 1));
    }
    s.set(30, 1, QStringLiteral("below the list"));
    return {{s}};
}

template <class Backend>
class OfficeScenario : public ::testing::Test {
protected:
    void SetUp() override {
        Backend::reset();
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { backend().endAll(); }

    OfficeTestBackend& backend() { return Backend::get(); }
    vexlo::office::OfficeSuite& suite() { return backend().suite(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString writeNameList(const QString& name = QStringLiteral("name.xls")) {
        const QString p = path(name);
        EXPECT_TRUE(backend().writeWorkbook(p, nameListContent(), kPassword));
        return p;
    }

private:
    QTemporaryDir m_dir;
};
