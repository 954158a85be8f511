#include "data/list_copy.h"

#include "data/data_export.h"
#include "data/spreadsheet_export.h"

namespace plotvane {

std::string listCopyText(const ListViewControl& list, int pointCount) {
  std::vector<DataRowTexts> rows = listRowTexts(list, pointCount);
  std::vector<DataRowTexts> selected;
  for (std::size_t row = 0; row < rows.size(); ++row)
    if (list.rows[row].selected) selected.push_back(rows[row]);
  if (!selected.empty()) rows = std::move(selected);
  // Without a "go on?" question the text is always built.
  return transferText(rows).value_or(std::string());
}

void ListView1Copy(Form1& form) {
  if (form.app.pointCount <= 0 || form.ui.ListView1.rows.empty()) return;
  form.platform.setClipboardText(listCopyText(form.ui.ListView1, form.app.pointCount));
}

}  // namespace plotvane
