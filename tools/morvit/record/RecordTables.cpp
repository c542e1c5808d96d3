// The recorded tables and their columns.
#include "record/RecordTables.h"

namespace morvit::tool {
namespace {
constexpr ColumnKind kInt = ColumnKind::kInteger;
constexpr ColumnKind kText = ColumnKind::kText;
}  // namespace

// Every call the run made, in order; `seq` numbers them from 1 and keys the other tables.
const Table& CallsTable() {
  static const Table table{"calls",
                           {{"seq", kInt},
                            {"domain_file", kText},
                            {"operation", kText},
                            {"arguments", ColumnKind::kJson},
                            {"answer", kInt}}};
  return table;
}

// Elements handed over by Insert and InsertBasicObject: the code argument, the element's own
// code with its name from the dump's name tables, its auxiliary word and its bytes.
const Table& ElementsTable() {
  static const Table table{"elements",
                           {{"seq", kInt},
                            {"domain_file", kText},
                            {"operation", kText},
                            {"code", kInt},
                            {"element_code", kInt},
                            {"code_name", kText},
                            {"aux_word", kInt},
                            {"length", kInt},
                            {"bytes", ColumnKind::kBlob}}};
  return table;
}

// Element descriptions of the decoder-table domains (Update).
const Table& DecoderRecordsTable() {
  static const Table table{"decoder_records",
                           {{"seq", kInt},
                            {"domain_file", kText},
                            {"text", kText},
                            {"type_index", kInt},
                            {"size_of_fb", kInt},
                            {"name", kText},
                            {"enum_text_1", kText},
                            {"enum_text_2", kText},
                            {"byte_offset_colo", kInt},
                            {"bit_offset_colo", kInt},
                            {"byte_offset_cole", kInt},
                            {"bit_offset_cole", kInt},
                            {"byte_offset_copm", kInt},
                            {"bit_offset_copm", kInt},
                            {"byte_offset_coda", kInt},
                            {"bit_offset_coda", kInt}}};
  return table;
}

// Object identifiers (SetObjectId) and the parcels of sorts (ClearSort, BackupSort).
const Table& ObjectsTable() {
  static const Table table{"objects",
                           {{"seq", kInt},
                            {"domain_file", kText},
                            {"operation", kText},
                            {"domain_type", kInt},
                            {"scope", kInt},
                            {"version", kInt},
                            {"object_number", kInt}}};
  return table;
}

// One row when the run has returned: which run, its result (1 completed, 0 stopped).
const Table& RunTable() {
  static const Table table{"run", {{"command", kText}, {"result", kInt}}};
  return table;
}

const std::vector<const Table*>& RecordTables() {
  static const std::vector<const Table*> tables = {
      &CallsTable(), &ElementsTable(), &DecoderRecordsTable(), &ObjectsTable(), &RunTable()};
  return tables;
}

}  // namespace morvit::tool
