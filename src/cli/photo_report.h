// What the editor shows for one photograph, gathered from its Session for
// printing: as text for a person, or as JSON for scripts.
#pragma once

#include <string>

#include "editor/session.h"

namespace tagloom::cli {

// The text of field i as a person reads it: the picker fields by their item
// text and number ("1. 手動模式 (1)"), a long maker note shortened, every other
// field as it stands.
std::string FieldForPerson(const Session& session, int field);

// The report as text: file name, source, backup, the sixteen fields; with
// `inspect`, the two tables of the record store.
std::string ReportText(const Session& session, const std::string& path, bool inspect);

// The report as one JSON object (serialised), appended to `out`.
void AppendReportJson(std::string& out, const Session& session, const std::string& path);

}  // namespace tagloom::cli
