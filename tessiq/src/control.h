// control.h - the DSP control class (the plugin creates it by ProgID "TessiqLib.Tessiq").
#pragma once

#include "automation/control.h"
#include "members.h"

namespace tessiq {

class Tessiq : public automation::ControlBase {
  public:
    Tessiq();
    automation::Variant invoke(automation::DispId id, automation::InvokeKind kind,
                               automation::Args &args) override;
    const automation::MemberTable &members() { return table(); }

  private:
    Instance instance_;
};

}  // namespace tessiq
