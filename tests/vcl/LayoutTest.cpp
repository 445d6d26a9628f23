// A form read from a text layout: components by class, properties, fields
// and events by name, then the constructor body.
#include "VclTestSupport.h"

#include "qt/QtPlatform.h"
#include "vcl/Buttons.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

#include "classes/ObjectText.h"
#include "classes/ResourceStream.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>

namespace {

class TLayoutForm : public TForm {
    YORDE_CLASS(TLayoutForm, TForm)
public:
    explicit TLayoutForm(TComponent* AOwner) : TForm(AOwner) {
        InitLayout();
        fieldsInBody = Header && NameLabel && NameEdit && OKButton;
        createdBeforeBody = created;
    }
    TPanel* Header = nullptr;
    TLabel* NameLabel = nullptr;
    TEdit* NameEdit = nullptr;
    TButton* OKButton = nullptr;
    TCheckBox* Remember = nullptr;
    bool fieldsInBody = false;
    bool created = false;
    bool createdBeforeBody = false;
    int okClicks = 0;
    void FormCreate(TObject*) { created = true; }
    void OKButtonClick(TObject*) { ++okClicks; }
};

YORDE_IMPLEMENT_CLASS(TLayoutForm, [](TClassBuilder<TLayoutForm>& c) {
    c.Field("Header", &TLayoutForm::Header);
    c.Field("NameLabel", &TLayoutForm::NameLabel);
    c.Field("NameEdit", &TLayoutForm::NameEdit);
    c.Field("OKButton", &TLayoutForm::OKButton);
    c.Field("Remember", &TLayoutForm::Remember);
    c.Method("FormCreate", &TLayoutForm::FormCreate);
    c.Method("OKButtonClick", &TLayoutForm::OKButtonClick);
})

// Written in UTF-8 here; the layout compiler turns texts into code-page bytes,
// as Utf8ToAnsi does below.
const char* kLayout = R"(object LayoutForm: TLayoutForm
  Left = 100
  Top = 80
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Logowanie użytkownika'
  ClientHeight = 140
  ClientWidth = 280
  Color = clBtnFace
  Font.Charset = EASTEUROPE_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poScreenCenter
  OnCreate = FormCreate
  object Header: TPanel
    Left = 0
    Top = 0
    Width = 280
    Height = 30
    Align = alTop
    BevelOuter = bvLowered
    Caption = 'Nagłówek'
    Color = 14540253
    TabOrder = 2
  end
  object NameLabel: TLabel
    Left = 10
    Top = 45
    Width = 60
    Height = 13
    Caption = '&Użytkownik:'
    FocusControl = NameEdit
  end
  object NameEdit: TEdit
    Left = 90
    Top = 42
    Width = 180
    Height = 21
    MaxLength = 8
    TabOrder = 0
    Text = 'admin'
  end
  object Remember: TCheckBox
    Left = 90
    Top = 72
    Width = 180
    Height = 17
    Caption = 'Zapamiętaj'
    Checked = True
    TabOrder = 3
  end
  object OKButton: TButton
    Left = 195
    Top = 105
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
    OnClick = OKButtonClick
  end
end
)";

std::string& layoutImage() {
    static std::string image = ObjectTextToBinary(Utf8ToAnsi(kLayout));
    return image;
}

TEST(Layouts, AFormReadsItsLayoutBeforeTheConstructorBodyAndShows) {
    HookScope hooks;
    RegisterResource("TLayoutForm", layoutImage().data(), layoutImage().size());
    Owned<TLayoutForm> form(NewForm<TLayoutForm>(nullptr));
    UnregisterResource("TLayoutForm");

    EXPECT_TRUE(form->fieldsInBody);
    EXPECT_FALSE(form->createdBeforeBody);
    EXPECT_TRUE(form->created);
    EXPECT_EQ(form->Name(), "LayoutForm");
    EXPECT_EQ(form->Caption(), Utf8ToAnsi("Logowanie użytkownika"));
    EXPECT_EQ(form->ClientWidth(), 280);
    EXPECT_EQ(form->ClientHeight(), 140);
    EXPECT_EQ(form->BorderStyle(), bsDialog);
    EXPECT_EQ(form->Font()->Charset(), EASTEUROPE_CHARSET);
    EXPECT_EQ(form->NameEdit->MaxLength(), 8);
    EXPECT_EQ(form->NameEdit->Text(), "admin");
    EXPECT_EQ(form->NameLabel->FocusControl(), form->NameEdit);
    EXPECT_TRUE(form->Remember->Checked());
    EXPECT_EQ(form->OKButton->ModalResult(), mrOk);
    EXPECT_EQ(form->Header->BoundsRect(), TRect(0, 0, 280, 30));
    EXPECT_EQ(form->NameEdit->TabOrder(), 0);
    EXPECT_EQ(form->OKButton->TabOrder(), 1);
    EXPECT_EQ(form->NameLabel->CodePage(), 1250);
    EXPECT_EQ(form->Owner(), nullptr);
    EXPECT_EQ(FindGlobalRoot("LayoutForm"), form.get());

    form->Show();
    yorde::test::Click(form->OKButton);
    EXPECT_EQ(form->okClicks, 1);
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_EQ(static_cast<QLineEdit*>(yorde::qt::WidgetOf(form->NameEdit))->text(), QString("admin"));
    std::string path = ShotPath("layout-form.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(form.get(), path));
    EXPECT_EQ(QImage(QString::fromStdString(path)).size(), QSize(280, 140));
    EXPECT_TRUE(hooks.errors.empty());
}

class TStatusFrame : public TFrame {
    YORDE_CLASS(TStatusFrame, TFrame)
public:
    explicit TStatusFrame(TComponent* AOwner) : TFrame(AOwner) {
        InitLayout();
        captionInBody = StatusLabel ? StatusLabel->Caption() : AnsiString();
    }
    TLabel* StatusLabel = nullptr;
    TEdit* NoteEdit = nullptr;
    AnsiString captionInBody;
    int noteChanges = 0;
    void NoteEditChange(TObject*) { ++noteChanges; }
};

YORDE_IMPLEMENT_CLASS(TStatusFrame, [](TClassBuilder<TStatusFrame>& c) {
    c.Field("StatusLabel", &TStatusFrame::StatusLabel);
    c.Field("NoteEdit", &TStatusFrame::NoteEdit);
    c.Method("NoteEditChange", &TStatusFrame::NoteEditChange);
})

class THostForm : public TForm {
    YORDE_CLASS(THostForm, TForm)
public:
    explicit THostForm(TComponent* AOwner) : TForm(AOwner) { InitLayout(); }
    TStatusFrame* StatusFrame1 = nullptr;
};

YORDE_IMPLEMENT_CLASS(THostForm, [](TClassBuilder<THostForm>& c) { c.Field("StatusFrame1", &THostForm::StatusFrame1); })

TEST(Layouts, AnEmbeddedFrameReadsItsOwnLayoutThenTheHostsChanges) {
    HookScope hooks;
    static const std::string frame = ObjectTextToBinary(R"(object StatusFrame: TStatusFrame
  Width = 200
  Height = 40
  object StatusLabel: TLabel
    Left = 4
    Top = 4
    Caption = 'Ready'
  end
  object NoteEdit: TEdit
    Left = 80
    Top = 4
    OnChange = NoteEditChange
  end
end
)");
    static const std::string host = ObjectTextToBinary(R"(object HostForm: THostForm
  ClientHeight = 100
  ClientWidth = 220
  inline StatusFrame1: TStatusFrame
    Left = 10
    Top = 50
    inherited StatusLabel: TLabel
      Caption = 'Connected'
    end
    inherited NoteEdit: TEdit
      Text = 'from the host'
    end
  end
end
)");
    RegisterClass(TStatusFrame::StaticClass());
    RegisterResource("TStatusFrame", frame.data(), frame.size());
    RegisterResource("THostForm", host.data(), host.size());
    Owned<THostForm> form(NewForm<THostForm>(nullptr));
    UnregisterResource("THostForm");
    UnregisterResource("TStatusFrame");
    UnRegisterClass(TStatusFrame::StaticClass());

    ASSERT_NE(form->StatusFrame1, nullptr);
    TStatusFrame* f = form->StatusFrame1;
    EXPECT_EQ(f->Name(), "StatusFrame1");
    EXPECT_EQ(f->Parent(), form.get());
    EXPECT_EQ(f->BoundsRect(), TRect(10, 50, 210, 90));
    EXPECT_EQ(f->captionInBody, "Ready");
    ASSERT_NE(f->StatusLabel, nullptr);
    EXPECT_EQ(f->StatusLabel->Owner(), f);
    EXPECT_EQ(f->StatusLabel->Caption(), "Connected");
    // The host's text reaches the frame's edit while loading: its handler,
    // bound by the frame's own layout, hears nothing of it.
    EXPECT_EQ(f->NoteEdit->Text(), "from the host");
    EXPECT_EQ(f->noteChanges, 0);
    f->NoteEdit->SetText("later");
    EXPECT_EQ(f->noteChanges, 1);
    form->Show();
    EXPECT_TRUE(f->StatusLabel->Showing());
}

class TSettingsModule : public TDataModule {
    YORDE_CLASS(TSettingsModule, TDataModule)
public:
    explicit TSettingsModule(TComponent* AOwner) : TDataModule(AOwner) { InitLayout(); }
    TTimer* PurgeTimer = nullptr;
    int creates = 0;
    void ModuleCreate(TObject*) { ++creates; }
};

YORDE_IMPLEMENT_CLASS(TSettingsModule, [](TClassBuilder<TSettingsModule>& c) {
    c.Field("PurgeTimer", &TSettingsModule::PurgeTimer);
    c.Method("ModuleCreate", &TSettingsModule::ModuleCreate);
})

TEST(Layouts, ADataModuleIsANonVisualGlobalRoot) {
    HookScope hooks;
    static const std::string image = ObjectTextToBinary(R"(object Settings: TSettingsModule
  OnCreate = ModuleCreate
  object PurgeTimer: TTimer
    Enabled = False
    Interval = 5000
  end
end
)");
    RegisterResource("TSettingsModule", image.data(), image.size());
    Owned<TSettingsModule> dm(NewForm<TSettingsModule>(nullptr));
    UnregisterResource("TSettingsModule");
    ASSERT_NE(dm->PurgeTimer, nullptr);
    EXPECT_FALSE(dm->PurgeTimer->Enabled());
    EXPECT_EQ(dm->PurgeTimer->Interval(), 5000u);
    EXPECT_EQ(dm->creates, 1);
    EXPECT_EQ(FindGlobalRoot("Settings"), dm.get());
    ASSERT_EQ(Screen->DataModuleCount(), 1);
    EXPECT_EQ(Screen->DataModules(0), dm.get());
    dm.reset();
    EXPECT_EQ(FindGlobalRoot("Settings"), nullptr);
    EXPECT_EQ(Screen->DataModuleCount(), 0);
}

TEST(Layouts, AFormWithoutItsLayoutFailsToBuild) {
    HookScope hooks;
    EXPECT_THROW(NewForm<TLayoutForm>(nullptr), EResNotFound);
}

}  // namespace
