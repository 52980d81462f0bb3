// A real main window for the tests of the lists and the shell: its settings file lives in the test's own folder,
// files are registered as the registration does (pending records, then the merge), and closing it saves as the
// program does at exit.
#pragma once

#include "app/check/Registration.h"
#include "app/lists/CompListView.h"
#include "app/lists/FileListView.h"
#include "app/lists/FileListWindow.h"
#include "app/lists/KeyCase.h"
#include "app/lists/PendingRecord.h"
#include "app/shell/Commands.h"
#include "app/shell/Juxta.h"
#include "kit/ui/Menu.h"
#include "kit/ui/StatusBar.h"
#include "kit/ui/ToolBar.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override { harness::Initialize(); }
    void TearDown() override { Close(); }

    std::wstring SettingsPath() const { return Folder.PathOf(L"juxta.dat"); }

    // a main window with the settings file of this test's folder; stored settings are written there first
    Juxta& Start()
    {
        Close();
        Main.reset(new Juxta(SettingsPath()));
        EXPECT_TRUE(Main->CreateMainWindow());
        harness::PumpPending();
        return *Main;
    }
    Juxta& Start(const kit::SettingsNode& stored)
    {
        kit::SettingsNode copy = stored;
        EXPECT_TRUE(copy.Save(SettingsPath()));
        return Start();
    }

    // closes the window as the user would (the settings are written) and ends the object
    void Close()
    {
        if (!Main)
            return;
        if (Main->Handle)
            DestroyWindow(Main->Handle);
        harness::PumpPending();
        harness::ClearQuit();
        Main.reset();
    }

    FileListView& List(int side) { return *Main->GetList(side); }
    CompListView& Marks() { return *Main->GetMarkList(); }

    // registers files into a side as the registration does (one base folder for all), then merges
    // the registration's own steps, without its busy window and without starting the checks, which the tests drive
    void Register(int side, const std::vector<std::wstring>& paths, const std::wstring& baseFolder)
    {
        Registration registration(List(side), true);
        for (const std::wstring& path : paths)
            registration.AddFile(path, baseFolder, false);
        List(side).MergePending();
    }
    // one file registered on its own: its folder is the base
    void RegisterFile(int side, const std::wstring& path)
    {
        Register(side, {path}, path.substr(0, path.rfind(L'\\') + 1));
    }
    // an imported entry: no relative key, maybe stored values and a size text
    void RegisterImported(int side, const std::wstring& path, const std::wstring& crc, const std::wstring& size)
    {
        FileListView& list = List(side);
        list.RevealList();
        Main->SetCurrentSide(side); // as a registration does
        HashListEntry entry;
        entry.Name = path;
        entry.HashTexts[HashKind::Crc32] = crc;
        entry.SizeText = size;
        list.Pending.push_back(PendingRecord::ForListEntry(entry, KeyCase::Lower));
        list.MergePending();
    }

    // what a finished check leaves in a row: its values, its size, then the pair evaluation
    void Finish(int side, int row, const std::wstring& crc, const std::wstring& size)
    {
        FileListView& list = List(side);
        list.SetHashText(row, 0, crc);
        list.SetSizeText(row, size);
        Marks().EvaluatePair(side, row);
        Main->SyncViews();
    }

    std::wstring MarkText(int row) { return harness::ListCellText(Marks().Handle, row, 0); }
    std::wstring Cell(int side, int row, int column) { return harness::ListCellText(List(side).Handle, row, column); }
    COLORREF RowColour(int side, int row) { return List(side).GetRowColour(row); }
    COLORREF MarkColour(int row) { return Marks().GetRowColour(row); }

    harness::TempFolder Folder;
    std::unique_ptr<Juxta> Main;
};
