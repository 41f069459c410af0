#pragma once
// The about window: the program's card with its picture, a live clock, the web and mail buttons and
// "Zamknij okno". Made hidden at program start; closing it only hides it.
#include <string>

#include "gui/bevel.h"
#include "gui/form.h"
#include "gui/image.h"
#include "gui/label.h"
#include "gui/panel.h"
#include "gui/speed_button.h"
#include "gui/timer.h"

class Tform3 : public TForm {
public:
    explicit Tform3(TComponent* owner);

    TPanel Panel2{this};
    TLabel Label1{this};
    TLabel Label2{this};
    TLabel Label3{this};
    TLabel Label6{this};
    TLabel Label4{this};
    TLabel Label5{this};
    TBevel Bevel1{this};
    TImage Image1{this};
    TSpeedButton SpeedButton1{this};
    TSpeedButton SpeedButton2{this};
    TLabel Label7{this};
    TSpeedButton SpeedButton3{this};
    TTimer Timer1{this};

    void Timer1Timer();
    void SpeedButton1Click();  // "Odwiedź witrynę www autora"
    void SpeedButton2Click();  // "Wyślij pocztę"
    void SpeedButton3Click();  // "Zamknij okno"

private:
    void BuildControls();
};

// What the card's two buttons hand to the shell.
extern const char* const kAboutWebAddress;
extern const char* const kAboutMailTarget;

// The about window of the running program; set at program start.
extern Tform3* form3;
