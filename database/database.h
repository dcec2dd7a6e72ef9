// The nine database tables that the database window edits together: one
// enumeration resets, copies and compares them all. Each table lives in a list
// file of its own; the record is never stored as one body.
#pragma once

#include <string>

#include "database/land.h"
#include "database/media.h"
#include "records/serial.h"

class cDatabase : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cDatabase)
    SERIAL_MEMBERS;

    // Loads the nine list files in load order. Returns 0 at the first file that
    // fails, with its stored path in *failedPath (the later files are not read).
    int LoadDatabaseFiles(std::string* failedPath = nullptr);
    // Saves the nine list files; 0 when any of them could not be written.
    int SaveDatabaseFiles();

    RecordList<cCompatiType> m_CompatiTypes;
    RecordList<cPtVal> m_PtVals;
    RecordList<cCharaAnimPat> m_CharaAnims;
    RecordList<cEffectAnimPat> m_EffectAnims;
    RecordList<cEdPicture> m_Pictures;
    RecordList<cEdBack> m_Backs;
    RecordList<cEdSound> m_Sounds;
    RecordList<cEdBgm> m_Bgms;
    RecordList<cEdHelp> m_Helps;
};
