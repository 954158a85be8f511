// The graph types and what each enables.
#pragma once

#include "app/form1.h"
#include "app/graph_types.h"

namespace plotvane {

// Click of cmbGraphType: enables the parameter fields and Execute for the
// selected type; Execute stays disabled while no picture is loaded.
void cmbGraphTypeClick(Form1& form);

}  // namespace plotvane
