#pragma once

#include <string>

#include "Bevel.h"
#include "Button.h"
#include "Form.h"
#include "Image.h"
#include "Label.h"

namespace retrove {

class TFAbout : public TForm {
public:
  explicit TFAbout(TComponent* owner);

  // The server and user the program works as, shown under its version.
  void ShowConnection(const std::string& line);

  TImage* Image1;
  TLabel* Label1;
  TLabel* Label3;
  TBevel* Bevel1;
  TLabel* Label2;
  TLabel* LConnection;
  TButton* BOk;
};

extern TFAbout* FAbout;

}  // namespace retrove
