#pragma once

#include "Bevel.h"
#include "Button.h"
#include "Form.h"
#include "Image.h"
#include "Label.h"

namespace retrove {

class TFAbout : public TForm {
public:
  explicit TFAbout(TComponent* owner);

  TImage* Image1;
  TLabel* Label1;
  TLabel* Label3;
  TBevel* Bevel1;
  TLabel* Label2;
  TButton* BOk;
};

extern TFAbout* FAbout;

}  // namespace retrove
