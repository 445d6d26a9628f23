// The controls read from a layout: every property by its class library name,
// in whatever order the layout gives them, and no event while reading.
#include "ControlsFixture.h"

#include "classes/ObjectText.h"
#include "classes/ResourceStream.h"
#include "rtl/DateTime.h"
#include "vcl/Bevel.h"
#include "vcl/ComCtrls.h"
#include "vcl/ComboBox.h"
#include "vcl/GroupBox.h"
#include "vcl/ListBox.h"
#include "vcl/Mask.h"
#include "vcl/Memo.h"
#include "vcl/RadioButton.h"
#include "vcl/Shape.h"

namespace {

class TCommonLayoutForm : public TForm {
    YORDE_CLASS(TCommonLayoutForm, TForm)
public:
    explicit TCommonLayoutForm(TComponent* AOwner) : TForm(AOwner) { InitLayout(); }
    TMemo* Log = nullptr;
    TComboBox* Retention = nullptr;
    TListBox* Days = nullptr;
    TTrackBar* Refresh = nullptr;
    TTrackBar* Reversed = nullptr;
    TProgressBar* Status = nullptr;
    TDateTimePicker* From = nullptr;
    TRadioButton* Keep = nullptr;
    TMaskEdit* Password = nullptr;
    int events = 0;
    void AnyChange(TObject*) { ++events; }
};

YORDE_IMPLEMENT_CLASS(TCommonLayoutForm, [](TClassBuilder<TCommonLayoutForm>& c) {
    c.Field("Log", &TCommonLayoutForm::Log);
    c.Field("Retention", &TCommonLayoutForm::Retention);
    c.Field("Days", &TCommonLayoutForm::Days);
    c.Field("Refresh", &TCommonLayoutForm::Refresh);
    c.Field("Reversed", &TCommonLayoutForm::Reversed);
    c.Field("Status", &TCommonLayoutForm::Status);
    c.Field("From", &TCommonLayoutForm::From);
    c.Field("Keep", &TCommonLayoutForm::Keep);
    c.Field("Password", &TCommonLayoutForm::Password);
    c.Method("AnyChange", &TCommonLayoutForm::AnyChange);
})

const char* kLayout = R"(object CommonLayoutForm: TCommonLayoutForm
  Caption = 'Layout'
  ClientHeight = 300
  ClientWidth = 400
  object Log: TMemo
    Left = 8
    Top = 8
    Width = 200
    Height = 80
    Lines.Strings = (
      'first'
      'second')
    ScrollBars = ssVertical
    WordWrap = False
    MaxLength = 64
    OnChange = AnyChange
  end
  object Retention: TComboBox
    Left = 220
    Top = 8
    Width = 150
    Height = 21
    Style = csDropDownList
    ItemIndex = 2
    Text = 'ignored'
    OnChange = AnyChange
    Items.Strings = (
      '1 month'
      '3 months'
      '6 months')
  end
  object Days: TListBox
    Left = 220
    Top = 40
    Width = 150
    Height = 60
    ItemIndex = 1
    Items.Strings = (
      'Mon'
      'Tue')
    Sorted = True
    OnClick = AnyChange
  end
  object Refresh: TTrackBar
    Left = 8
    Top = 100
    Width = 200
    Height = 30
    Position = 100
    Max = 60
    Min = 1
    PageSize = 10
    TabStop = False
    TickStyle = tsNone
    OnChange = AnyChange
  end
  object Reversed: TTrackBar
    Left = 210
    Top = 100
    Width = 100
    Height = 30
    Position = 50
    Max = 2
    Min = 10
    OnChange = AnyChange
  end
  object Status: TProgressBar
    Left = 8
    Top = 140
    Width = 200
    Height = 16
    Max = 0
    Position = 30
    Smooth = True
  end
  object From: TDateTimePicker
    Left = 8
    Top = 170
    Width = 150
    Height = 21
    Date = 45350.000000000000000000
    Time = 0.500000000000000000
    Kind = dtkDate
    OnChange = AnyChange
  end
  object Options: TGroupBox
    Left = 220
    Top = 110
    Width = 150
    Height = 70
    Caption = 'Options'
    object Keep: TRadioButton
      Left = 8
      Top = 20
      Width = 120
      Height = 17
      Caption = 'Keep'
      Checked = True
      OnClick = AnyChange
    end
  end
  object Password: TMaskEdit
    Left = 8
    Top = 200
    Width = 120
    Height = 21
    EditMask = '>LL;1;_'
    MaxLength = 10
    PasswordChar = '*'
    Text = 'pw'
  end
  object Line: TBevel
    Left = 8
    Top = 230
    Width = 380
    Height = 2
    Shape = bsTopLine
  end
  object Dot: TShape
    Left = 8
    Top = 240
    Width = 20
    Height = 20
    Brush.Color = clRed
    Shape = stCircle
  end
end
)";

TEST_F(ControlsTest, ALayoutSetsEveryPropertyByNameWithoutRaisingEvents) {
    std::string image = ObjectTextToBinary(AnsiString(kLayout));
    RegisterResource("TCommonLayoutForm", image.data(), image.size());
    Owned<TCommonLayoutForm> f(new TCommonLayoutForm(nullptr));
    UnregisterResource("TCommonLayoutForm");

    ASSERT_TRUE(f->Log && f->Retention && f->Days && f->Refresh && f->Status && f->From && f->Keep && f->Password);
    EXPECT_EQ(f->Log->Text(), "first\r\nsecond\r\n");
    EXPECT_EQ(f->Log->ScrollBars(), ssVertical);
    EXPECT_FALSE(f->Log->WordWrap());
    EXPECT_EQ(f->Log->MaxLength(), 64);
    // The index came before the items it names.
    EXPECT_EQ(f->Retention->ItemIndex(), 2);
    EXPECT_EQ(f->Retention->Text(), "6 months");
    EXPECT_EQ(f->Days->Items()->CommaText(), "Mon,Tue");
    EXPECT_EQ(f->Days->ItemIndex(), 1);
    // Position and the range, in the wrong order, still end clamped.
    EXPECT_EQ(f->Refresh->Min(), 1);
    EXPECT_EQ(f->Refresh->Max(), 60);
    EXPECT_EQ(f->Refresh->Position(), 60);
    // Ends written the wrong way round are taken as the range they name.
    EXPECT_EQ(f->Reversed->Min(), 2);
    EXPECT_EQ(f->Reversed->Max(), 10);
    EXPECT_EQ(f->Reversed->Position(), 10);
    EXPECT_FALSE(f->Refresh->TabStop());
    EXPECT_EQ(f->Refresh->TickStyle(), tsNone);
    EXPECT_EQ(f->Status->Position(), 0);
    EXPECT_TRUE(f->Status->Smooth());
    EXPECT_DOUBLE_EQ(f->From->DateTime(), 45350.5);
    EXPECT_TRUE(f->Keep->Checked());
    EXPECT_EQ(f->Password->EditMask(), ">LL;1;_");
    EXPECT_EQ(f->Password->PasswordChar(), '*');
    EXPECT_EQ(f->Password->Text(), "pw");
    EXPECT_EQ(f->events, 0);

    // The events are bound: a change from code now reaches the handler.
    f->Refresh->SetPosition(5);
    f->Log->Lines()->Add("third");
    EXPECT_EQ(f->events, 2);
}

}  // namespace
