// The database window's tests start from a fresh copy of the starter project
// (written once per suite), loaded, with the main window open and messages
// recorded; tear-down closes the windows and puts every test hook back.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>

#include "app/database_sheet.h"
#include "app/startup.h"
#include "database/window/database_sheet.h"
#include "database/window/db_pages.h"
#include "media/image_table.h"
#include "project/default_project.h"
#include "project/project.h"
#include "stage/window/main_window.h"
#include "tests/gui/gui_util.h"
#include "tests/test_util.h"
#include "ui/select_graphic.h"

class DatabaseWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        starter_ = new TempDir;
        WriteDefaultProject(starter_->Path().string(), true);
    }
    static void TearDownTestSuite()
    {
        delete starter_;
        starter_ = nullptr;
    }
    void SetUp() override
    {
        ResetProject();
        std::filesystem::copy(starter_->Path(), dir.Path(), std::filesystem::copy_options::recursive);
        ASSERT_EQ(LoadProject(), 1);
        SheetScaleX = SheetScaleY = 1.0;
        Editor() = EditorState();
        main.onQuit = [] {};
        ASSERT_TRUE(OpenActive(main));
    }
    void TearDown() override
    {
        if (PROP_DATABASE* s = DatabaseWindow())
            s->Destroy();
        Pump();
        main.Close(0);
        Pump();
        DatabaseFileChooser() = nullptr;
        SetGraphicChooserForTests(nullptr);
        SetTableSource(nullptr);
        SetCharaContext(nullptr);
        ResetProject();
        ResetImages();
    }

    // The database window opened from the main window's menu, on `page`.
    PROP_DATABASE* OpenAt(int page)
    {
        main.SendCommand(40118);
        Pump();
        PROP_DATABASE* s = DatabaseWindow();
        if (s && page)
            s->SetCurrentPage(page);
        Pump();
        return s;
    }
    static void ClickLine(QListWidget* list, int row)
    {
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(row)).center());
        Pump();
    }
    // A line of the page's record list.
    static void ClickLine(DLG_CLASS* page, int row)
    {
        ClickLine(qobject_cast<QListWidget*>(page->Item(IDC_DB_LIST)), row);
    }
    static void Click(DLG_CLASS* page, int id)
    {
        QTest::mouseClick(qobject_cast<QAbstractButton*>(page->Item(id)), Qt::LeftButton);
        Pump();
    }
    // "sheetOk", "sheetCancel" or "sheetApply".
    static void SheetButton(PROP_DATABASE* s, const char* name)
    {
        QTest::mouseClick(s->Widget()->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
        Pump();
    }

    static inline TempDir* starter_ = nullptr;
    TempDir dir;
    RecordingSink sink;
    DLG_MAIN main;
};
