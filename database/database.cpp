#include "database/database.h"

int cDatabase::Serial(SerialOp op, cSerial* other, SerialIO* io, uint32_t version)
{
    Members<cDatabase> m(*this, op, other, io, version);
    m.List("compatiTypes", &cDatabase::m_CompatiTypes, Since(99));
    m.List("partyVals", &cDatabase::m_PtVals);
    m.List("charaAnims", &cDatabase::m_CharaAnims);
    m.List("effectAnims", &cDatabase::m_EffectAnims);
    m.List("pictures", &cDatabase::m_Pictures);
    m.List("backs", &cDatabase::m_Backs, Since(66));
    m.List("sounds", &cDatabase::m_Sounds);
    m.List("bgms", &cDatabase::m_Bgms);
    m.List("helps", &cDatabase::m_Helps, Since(211));
    return m.Result();
}

namespace {

// Runs fn(path, list) for each table in load order until fn returns 0.
template <class Fn>
int ForEachFile(cDatabase& db, Fn&& fn)
{
    return fn("data\\database\\CompatiType.dat", db.m_CompatiTypes) &&
           fn("data\\database\\PartyVal.dat", db.m_PtVals) &&
           fn("data\\database\\CharaAnim.dat", db.m_CharaAnims) &&
           fn("data\\database\\EffectAnim.dat", db.m_EffectAnims) &&
           fn("data\\database\\Picture.dat", db.m_Pictures) &&
           fn("data\\database\\Back.dat", db.m_Backs) &&
           fn("data\\database\\Sound.dat", db.m_Sounds) &&
           fn("data\\database\\Bgm.dat", db.m_Bgms) &&
           fn("data\\database\\Help.dat", db.m_Helps);
}

}  // namespace

int cDatabase::LoadDatabaseFiles(std::string* failedPath)
{
    return ForEachFile(*this, [&](const char* path, auto& list) {
        if (LoadListFile(list, path))
            return 1;
        if (failedPath)
            *failedPath = path;
        return 0;
    });
}

int cDatabase::SaveDatabaseFiles()
{
    int saved = 1;
    // A file that cannot be written does not keep the others from being saved.
    ForEachFile(*this, [&](const char* path, auto& list) {
        if (!SaveListFile(list, path))
            saved = 0;
        return 1;
    });
    return saved;
}
