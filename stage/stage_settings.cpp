#include "stage/stage_settings.h"

#include <algorithm>

#include "base/log.h"
#include "base/text.h"

namespace {

bool Outside(int x, int y, int width, int height) { return x >= width || y >= height; }

}  // namespace

std::string GroupPosLine(const cGroupPos& group)
{
    return StrPrintf(SJ("%-8s 中心座標(%d,%d)").c_str(), group.m_Name.c_str(), group.m_nX, group.m_nY);
}

std::string EndCondLine(const cEndCond& cond)
{
    std::string line = cond.m_Text;
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

bool ToggleGroupCell(cGroupPos& group, CellPos cell)
{
    auto it = std::find(group.m_Positions.begin(), group.m_Positions.end(), cell);
    if (it != group.m_Positions.end()) {
        group.m_Positions.erase(it);
        return false;
    }
    group.m_Positions.push_back(cell);
    return true;
}

bool AppendGroup(std::vector<cGroupPos>& groups)
{
    if (static_cast<int>(groups.size()) >= kMaxPositionGroups)
        return false;
    groups.emplace_back();
    return true;
}

void ClearGroups(std::vector<cGroupPos>& groups, const std::vector<int>& indices)
{
    for (int i : indices)
        if (i >= 0 && i < static_cast<int>(groups.size()))
            groups[static_cast<std::size_t>(i)] = cGroupPos();
}

std::vector<std::string> GroupChoices(const RecordList<cGroupPos>& groups, bool noneFirst)
{
    std::vector<std::string> out;
    const int count = groups.size();
    for (int i = 0; i < count; ++i)
        out.push_back(i == 0 && noneFirst ? SJ("なし") : NumberedLine(i, count, groups[i].m_Name));
    return out;
}

std::vector<std::string> TableChoices(Table table)
{
    std::vector<std::string> out;
    const int count = std::max(TableSize(table), 0);
    for (int i = 0; i < count; ++i)
        out.push_back(NumberedLine(i, count, TableName(table, i)));
    return out;
}

void KeepUnusedTargetValues(cEndCond& stored, const cEndCond& before)
{
    if (stored.m_nTarget != 2)
        stored.m_nCharaId = before.m_nCharaId;
    if (stored.m_nTarget != 3)
        stored.m_nGroup = before.m_nGroup;
    if (stored.m_nTarget != 4) {
        stored.m_nX = before.m_nX;
        stored.m_nY = before.m_nY;
    }
}

MapLoss LossOfResize(const cStage& stage, int width, int height)
{
    MapLoss loss;
    loss.shrinks = width < stage.m_nWidth || height < stage.m_nHeight;
    for (const cEvent& e : stage.m_Events)
        loss.events += Outside(e.m_nX, e.m_nY, width, height);
    for (const cPutEnemy& p : stage.m_PutEnemy)
        loss.enemies += p.IsPlaced() && Outside(p.m_nX, p.m_nY, width, height);
    for (const cGroupPos& g : stage.m_GroupPos)
        for (const CellPos& c : g.m_Positions)
            loss.groupCells += Outside(c.x, c.y, width, height);
    return loss;
}

std::string ShrinkQuestion(const MapLoss& loss, int width, int height)
{
    if (!loss.shrinks)
        return std::string();
    std::string text = StrPrintf(SJ("マップを %d x %d に縮小します。\nはみ出したマップチップは失われます。\n").c_str(), width, height);
    if (loss.events)
        text += StrPrintf(SJ("マップ外のイベント %d 個は削除されます。\n").c_str(), loss.events);
    if (loss.enemies)
        text += StrPrintf(SJ("マップ外の敵 %d 体は配置が外されます。\n").c_str(), loss.enemies);
    if (loss.groupCells)
        text += StrPrintf(SJ("位置グループのマップ外の座標 %d 個は消去されます。\n").c_str(), loss.groupCells);
    text += SJ("元に戻すことはできません。よろしいですか？");
    return text;
}

void StoreStageSettings(cStage& stage, const cStage& edited, int width, int height)
{
    // The size is set by ResizeMap alone: it needs the old width to move the rows.
    stage.CopyFrom(edited);
    stage.ResizeMap(width, height);
    stage.ValidateStage();
}
