// The database window's tests start from a fresh copy of the starter project
// (written once per suite), loaded, with the main window open and messages
// recorded; tear-down closes the windows and puts every test hook back.
#pragma once

#include <gtest/gtest.h>

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

    static inline TempDir* starter_ = nullptr;
    TempDir dir;
    RecordingSink sink;
    DLG_MAIN main;
};
