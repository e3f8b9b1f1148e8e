#pragma once

// The stock list kept current: "更新股票列表" asks the quote services for every
// code in use (quotes/stock_list_refresh.h) on a worker thread behind a
// cancellable progress dialog, and a lookup of a code the list lacks adds it.
// Either way the user's StockList.txt is replaced in one write and the search
// uses the new list at once.

#include <QString>

namespace quorvane {

class Form1;

// The menu command. Cancelling, or a refresh that fetched nothing, leaves the
// list as it was.
void UpdateStockList_Click(Form1 &form);

// A lookup of code succeeded with this name (as the service gave it): a code
// the list lacks is added and the list saved.
void LearnStock(Form1 &form, const QString &code, const QString &serviceName);

} // namespace quorvane
