// The graph types and what each enables.
#pragma once

#include "app/form1.h"

namespace plotvane {

enum GraphType : int {
  kTraceLine = 1,
  kPlotAllPoints = 2,
  kPlotOnePoint = 3,
  kTraceSurface = 4,
  kManualPlotting = 5,
};

// Click of cmbGraphType: enables the parameter fields and Execute for the
// selected type; Execute stays disabled while no picture is loaded.
void cmbGraphTypeClick(Form1& form);

}  // namespace plotvane
