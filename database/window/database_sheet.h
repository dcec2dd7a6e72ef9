// The database window: the modeless property sheet "データベースの設定" with
// its 25 pages, the size it asks for and checks, apply (every page stored
// twice, then every database file written) and cancel (the in-memory database
// put back as it was at opening or at the last apply).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "database/window/db_page.h"
#include "project/database_snapshot.h"
#include "ui/wnd.h"

class PROP_DATABASE : public PROP_CLASS {
public:
    PROP_DATABASE();
    ~PROP_DATABASE() override;

    // Creates the sheet, asks for its size and checks it, takes the snapshot
    // and puts the focus into the first page's list.
    bool Open(QWidget* parent);
    void OnApply() override;
    void OnCancel() override;
    void OnSheetClosed() override;

    DB_PAGE* DbPage(int index) const { return m_Pages[static_cast<std::size_t>(index)].get(); }
    const DatabaseSnapshot& Snapshot() const { return m_Snapshot; }
    // Runs when the sheet's window is gone.
    std::function<void()> onClosed;

private:
    std::vector<std::unique_ptr<DB_PAGE>> m_Pages;
    DatabaseSnapshot m_Snapshot;
};

// The open database window, or nullptr.
PROP_DATABASE* DatabaseWindow();
// Opens the database window, closing an open one first. Every modeless window
// is hidden and disabled while it is open; when it goes they come back and
// onClosed runs.
void OpenDatabaseWindow(std::function<void()> onClosed);
