#include "shell/about.h"

#include <memory>

namespace plotvane {

void mnuHelpVClick(Form1& form) {
  if (form.dialog(DialogId::About)) return;
  auto about = std::make_shared<AboutDialog>();
  about->window.text = form.caption(Caption::AboutTitle);
  about->Label1.text = kProgramVersion;
  about->Label2.text = "Turns pictures of charts back into numbers.";
  about->OKButton.text = "OK";
  form.loadDialog(std::move(about));
}

void aboutOkClick(Form1& form) {
  aboutUnload(form);
}

void aboutUnload(Form1& form) {
  form.unloadDialog(DialogId::About);
}

}  // namespace plotvane
