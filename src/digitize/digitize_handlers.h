// The handlers that run Trace Line, Trace Surface and Plot All Points on the
// working picture: they read the parameters, run the pure routine, and put
// its points in the list and its marks on the view as it goes.
#pragma once

#include "app/form1.h"
#include "digitize/column_scan.h"

namespace plotvane {

// The parameters of a trace as the fields and the rectangle hold them.
TraceParams traceParamsOf(const Form1& form);

void runTraceLine(Form1& form);
void runTraceSurface(Form1& form);
void runScanPoints(Form1& form);

}  // namespace plotvane
