// The project's start event as the event editor edits it: only the first
// page's action list is the user's to change; the event's name, holder flag,
// position and the page's conditions are written back exactly as loaded.
#pragma once

#include <string>

#include "events/event.h"

// The event the editor opens on: a copy of the start event, with one default
// page when the file held none (that page is saved on OK).
cEvent StartEventForEditing(const cEvent& start);

// OK of the editor: the edited first page's actions replace the start event's
// (a default page is made first when it has none) and the start event is saved
// to path at once, also when nothing changed. A failed save is not reported;
// the start event in memory keeps the change. Returns the save's result.
int StoreStartEvent(cEvent& start, const cEvent& edited, const std::string& path);
