#include "app/database_sheet.h"

#include "app/startup.h"
#include "base/host_file.h"
#include "base/log.h"
#include "base/paths.h"
#include "base/text.h"
#include "project/project.h"

SheetSize SheetRequestSize(const SheetFont& current, const SheetFont& design, double scaleX, double scaleY)
{
    double fx = design.width > 0 && current.width > 0 ? static_cast<double>(current.width) / design.width : 1.0;
    double fy = design.height > 0 && current.height > 0 ? static_cast<double>(current.height) / design.height : 1.0;
    SheetSize s;
    s.width = static_cast<int>(kSheetDesignWidth * fx * scaleX);
    s.height = static_cast<int>(kSheetDesignHeight * fy * scaleY);
    return s;
}

SheetCheck CheckSheetSize(int width, int height, double scaleX, double scaleY)
{
    SheetCheck c;
    c.scaleX = scaleX;
    c.scaleY = scaleY;
    if (width > 0 && height > 0) {
        c.rateX = static_cast<double>(width) / kSheetDesignWidth;
        c.rateY = static_cast<double>(height) / kSheetDesignHeight;
    }
    auto inside = [](double r) { return r >= kSheetRateMin && r <= kSheetRateMax; };
    c.accepted = inside(c.rateX) && inside(c.rateY);
    if (!c.accepted) {
        c.scaleX = kSheetDesignWidth / (width / scaleX);
        c.scaleY = kSheetDesignHeight / (height / scaleY);
    }
    return c;
}

bool RunSheetSizeCheck(int width, int height, const SheetFont& font)
{
    SheetCheck c = CheckSheetSize(width, height, SheetScaleX, SheetScaleY);
    ReportPrintf("DB Sheet Rate = (%lf,%lf)", c.rateX, c.rateY);
    if (c.accepted)
        return true;
    SheetScaleX = c.scaleX;
    SheetScaleY = c.scaleY;
    cPropSheetSize& record = PropSheetSize();
    record.m_nFontWidth = font.width;
    record.m_nFontHeight = font.height;
    record.m_FontFace = font.face;
    record.m_nFontPitch = font.pitch;
    record.m_nFontValue = font.value;
    record.m_dScaleX = c.scaleX;
    record.m_dScaleY = c.scaleY;
    if (record.SaveFile(ProjectFile::SheetSize))
        TheProject().m_SheetSizeLoaded = true;
    ReportPrintf("Sheet Error 1");
    ErrorBoxPrintf("%s", SJ("データベースウインドウのサイズ調整に失敗しました。\n"
                            "一旦データベースウインドウを閉じてから開き直すと改善される可能性があります。").c_str());
    return false;
}

int SaveDatabaseReporting()
{
    ClearWriteFailures();
    int ok = SaveDatabase();
    if (!WriteFailures().empty()) {
        std::string text = SJ("次のファイルを保存できませんでした。");
        for (const WriteFailure& f : WriteFailures()) {
            const std::string name = f.storedPath.empty() ? StoredPath(f.hostPath) : f.storedPath;
            text += "\n" + name + " : " + f.reason;
        }
        ErrorBoxPrintf("%s", text.c_str());
        ClearWriteFailures();
    }
    return ok;
}

std::string NameFromFile(const std::string& path, int maxChars)
{
    std::string name = FileNamePart(path);
    std::size_t dot = FindLastSingleByte(name, '.');
    if (dot != std::string::npos)
        name.resize(dot);
    if (maxChars <= 0)
        return name;
    std::size_t i = 0;
    for (int chars = 0; i < name.size() && chars < maxChars; ++chars)
        i += CharLength(name, i);
    name.resize(std::min(i, name.size()));
    return name;
}
