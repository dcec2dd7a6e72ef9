#include "records/table_sizes.h"

namespace {
TableSizeSource g_source = nullptr;
}

void SetTableSizeSource(TableSizeSource source) { g_source = source; }

int TableSize(Table table) { return g_source ? g_source(table) : -1; }
