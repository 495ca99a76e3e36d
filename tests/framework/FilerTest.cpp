#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>

#include "FilerTestClasses.h"

using namespace FilerTest;

namespace {

String FromUtf8(const TBytes& B) {
  if (B.empty()) return String();
  int N = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(B.data()),
                              static_cast<int>(B.size()), nullptr, 0);
  String R(static_cast<size_t>(N), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(B.data()),
                      static_cast<int>(B.size()), R.data(), N);
  return R;
}

TBytes ToUtf8(const String& S) {
  int N = WideCharToMultiByte(CP_UTF8, 0, S.data(), static_cast<int>(S.size()), nullptr, 0, nullptr,
                              nullptr);
  TBytes R(static_cast<size_t>(N), 0);
  WideCharToMultiByte(CP_UTF8, 0, S.data(), static_cast<int>(S.size()),
                      reinterpret_cast<char*>(R.data()), N, nullptr, nullptr);
  return R;
}

String BinaryToText(const TBytes& Binary) {
  auto In = MakeOwned<TBytesStream>(Binary);
  auto Out = MakeOwned<TBytesStream>();
  ObjectBinaryToText(In.get(), Out.get());
  return FromUtf8(Out->Bytes());
}

TBytes TextToBinary(const String& Text) {
  auto In = MakeOwned<TBytesStream>(ToUtf8(Text));
  auto Out = MakeOwned<TBytesStream>();
  ObjectTextToBinary(In.get(), Out.get());
  return Out->Bytes();
}

TBytes WriteRoot(TComponent* Root) {
  auto S = MakeOwned<TBytesStream>();
  WriteComponentToStream(S.get(), Root);
  return S->Bytes();
}

TComponent* ReadRoot(const TBytes& Data, TComponent* Root = nullptr) {
  auto S = MakeOwned<TBytesStream>(Data);
  return ReadComponentFromStream(S.get(), Root);
}

TComponent* ReadText(const String& Text, TComponent* Root = nullptr) {
  return ReadRoot(ToUtf8(Text), Root);
}

// An object X of class TFoo with one property P whose value the case writes.
TBytes OneProperty(const std::function<void(TWriter&)>& WriteValue) {
  auto S = MakeOwned<TBytesStream>();
  {
    TWriter W(S.get());
    W.WriteSignature();
    W.WriteStr(L"TFoo");
    W.WriteStr(L"X");
    W.WriteStr(L"P");
    WriteValue(W);
    W.WriteListEnd();
    W.WriteListEnd();
  }
  return S->Bytes();
}

// Value read back from a OneProperty stream.
template <class F>
auto ReadBack(const TBytes& Data, F Read) {
  auto S = MakeOwned<TBytesStream>(Data);
  TReader R(S.get());
  R.ReadSignature();
  R.ReadStr();
  R.ReadStr();
  R.ReadStr();
  return Read(R);
}

class FilerFixture : public testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    LoadedLog.clear();
    Baseline = LiveComponents;
  }
  void TearDown() override { EXPECT_EQ(LiveComponents, Baseline) << "components leaked"; }
  int Baseline = 0;
};

struct TValueCase {
  const char* Label;
  std::function<void(TWriter&)> Write;
  String Text;  // what follows "P =" in the text form
};

TEST(FilerValues, EveryValueTypeRoundTripsThroughBinaryAndText) {
  const String Long300(300, L'a');
  String LongText = L"\r\n    '" + String(64, L'a') + L"' +";
  for (int I = 0; I < 3; ++I) LongText += L"\r\n    '" + String(64, L'a') + L"' +";
  LongText += L"\r\n    '" + String(44, L'a') + L"'";
  TBytes Blob;
  for (int I = 0; I < 40; ++I) Blob.push_back(static_cast<Byte>(I * 7));
  const TValueCase Cases[] = {
      {"int8", [](TWriter& W) { W.WriteInteger(5); }, L" 5"},
      {"int8 negative", [](TWriter& W) { W.WriteInteger(-128); }, L" -128"},
      {"int16", [](TWriter& W) { W.WriteInteger(-300); }, L" -300"},
      {"int32", [](TWriter& W) { W.WriteInteger(100000); }, L" 100000"},
      {"int64", [](TWriter& W) { W.WriteInteger(5000000000LL); }, L" 5000000000"},
      {"int64 min", [](TWriter& W) { W.WriteInteger(INT64_MIN); }, L" -9223372036854775808"},
      {"double", [](TWriter& W) { W.WriteDouble(1.5); }, L" 1.5"},
      {"double integral", [](TWriter& W) { W.WriteDouble(-2.0); }, L" -2.0"},
      {"double tenth", [](TWriter& W) { W.WriteDouble(0.1); }, L" 0.1"},
      {"double huge", [](TWriter& W) { W.WriteDouble(1e300); }, L" 1e+300"},
      {"single", [](TWriter& W) { W.WriteSingle(0.1f); }, L" 0.1s"},
      {"extended", [](TWriter& W) { W.WriteFloat(1.0L / 3); }, L" 0.33333333333333333334x"},
      {"currency", [](TWriter& W) { W.WriteCurrency(125000); }, L" 12.5c"},
      {"currency small negative", [](TWriter& W) { W.WriteCurrency(-1); }, L" -0.0001c"},
      {"date", [](TWriter& W) { W.WriteDate(45000.25); }, L" 45000.25d"},
      {"string", [](TWriter& W) { W.WriteString(L"abc"); }, L" 'abc'"},
      {"empty string", [](TWriter& W) { W.WriteString(L""); }, L" ''"},
      {"quote", [](TWriter& W) { W.WriteString(L"it's"); }, L" 'it''s'"},
      {"controls", [](TWriter& W) { W.WriteString(L"a\r\nb\t"); }, L" 'a'#13#10'b'#9"},
      {"cyrillic", [](TWriter& W) { W.WriteString(L"Привет, мир"); }, L" 'Привет, мир'"},
      {"surrogates", [](TWriter& W) { W.WriteString(L"x\U0001F600\xD800y"); },
       L" 'x\U0001F600'#55296'y'"},
      {"long string", [&](TWriter& W) { W.WriteString(Long300); }, LongText},
      {"identifier", [](TWriter& W) { W.WriteIdent(L"alClient"); }, L" alClient"},
      {"dotted identifier", [](TWriter& W) { W.WriteIdent(L"Form1.Button1"); }, L" Form1.Button1"},
      {"true", [](TWriter& W) { W.WriteBoolean(true); }, L" True"},
      {"false", [](TWriter& W) { W.WriteBoolean(false); }, L" False"},
      {"nil", [](TWriter& W) { W.WriteIdent(L"nil"); }, L" nil"},
      {"null", [](TWriter& W) { W.WriteIdent(L"Null"); }, L" Null"},
      {"set", [](TWriter& W) { W.WriteSet(0b101, TestOptionInfo); }, L" [toBold, toUnderline]"},
      {"empty set", [](TWriter& W) { W.WriteSet(0, TestOptionInfo); }, L" []"},
      {"list",
       [](TWriter& W) {
         W.WriteListBegin();
         W.WriteInteger(1);
         W.WriteString(L"x");
         W.WriteListBegin();
         W.WriteIdent(L"y");
         W.WriteListEnd();
         W.WriteListEnd();
       },
       L" (\r\n    1\r\n    'x'\r\n    (\r\n      y))"},
      {"long string in a list",
       [](TWriter& W) {
         W.WriteListBegin();
         W.WriteString(String(70, L'b'));
         W.WriteListEnd();
       },
       L" (\r\n    '" + String(64, L'b') + L"' +\r\n    'bbbbbb')"},
      {"empty list",
       [](TWriter& W) {
         W.WriteListBegin();
         W.WriteListEnd();
       },
       L" ()"},
      {"binary", [&](TWriter& W) { W.WriteBinary(Blob.data(), 40); },
       L" {\r\n    00070E151C232A31383F464D545B626970777E858C939AA1A8AFB6BDC4CBD2D9\r\n"
       L"    E0E7EEF5FC030A11}"},
      {"empty binary", [](TWriter& W) { W.WriteBinary(nullptr, 0); }, L" {}"},
      {"collection",
       [](TWriter& W) {
         W.WriteValue(vaCollection);
         W.WriteListBegin();
         W.WriteStr(L"Caption");
         W.WriteString(L"one");
         W.WriteListEnd();
         W.WriteInteger(3);
         W.WriteListBegin();
         W.WriteListEnd();
         W.WriteListEnd();
       },
       L" <\r\n    item\r\n      Caption = 'one'\r\n    end\r\n    item [3]\r\n    end>"},
      {"empty collection",
       [](TWriter& W) {
         W.WriteValue(vaCollection);
         W.WriteListEnd();
       },
       L" <>"},
  };
  for (const TValueCase& C : Cases) {
    SCOPED_TRACE(C.Label);
    TBytes Binary = OneProperty(C.Write);
    String Text = BinaryToText(Binary);
    EXPECT_EQ(Text, L"object X: TFoo\r\n  P =" + C.Text + L"\r\nend\r\n");
    EXPECT_EQ(TextToBinary(Text), Binary);
  }
}

// The text form is the same whatever the regional and C runtime decimal
// separators are.
TEST(FilerValues, FloatTextIgnoresTheDecimalSeparatorOfTheLocale) {
  struct TRestore {
    wchar_t Saved[8] = L".";
    TRestore() { GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Saved, 8); }
    ~TRestore() {
      SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Saved);
      std::setlocale(LC_NUMERIC, "C");
    }
  } Restore;
  String Results[2];
  const wchar_t* Separators[] = {L".", L","};
  for (int I = 0; I < 2; ++I) {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Separators[I]);
    if (I == 0) {
      std::setlocale(LC_NUMERIC, "C");
    } else {
      for (const char* Name : {"", "German_Germany.1252", "de-DE", "Russian_Russia.1251", "ru-RU"})
        if (std::setlocale(LC_NUMERIC, Name) && std::localeconv()->decimal_point[0] == ',') break;
    }
    ASSERT_EQ(std::localeconv()->decimal_point[0], static_cast<char>(Separators[I][0]));
    TBytes B = OneProperty([](TWriter& W) {
      W.WriteListBegin();
      W.WriteFloat(1.0L / 3);
      W.WriteDouble(-2.5);
      W.WriteSingle(0.1f);
      W.WriteCurrency(15);
      W.WriteDate(1.75);
      W.WriteListEnd();
    });
    Results[I] = BinaryToText(B);
    EXPECT_EQ(TextToBinary(Results[I]), B);
  }
  EXPECT_EQ(Results[1], Results[0]);
  EXPECT_NE(Results[0].find(L"0.33333333333333333334x"), String::npos) << Results[0];
  EXPECT_NE(Results[0].find(L"0.0015c"), String::npos) << Results[0];
}

TEST(FilerValues, ComponentHeadersWithFlagsRoundTrip) {
  const String Text =
      L"inherited Form1: TTestForm\r\n"
      L"  inline Frame1: TFrame [2]\r\n"
      L"    object Inner: TThing [-1]\r\n"
      L"    end\r\n"
      L"  end\r\n"
      L"  object TUnnamed\r\n"
      L"  end\r\n"
      L"end\r\n";
  TBytes Binary = TextToBinary(Text);
  EXPECT_EQ(BinaryToText(Binary), Text);
  auto S = MakeOwned<TBytesStream>(Binary);
  TReader R(S.get());
  R.ReadSignature();
  TFilerFlags Flags;
  Integer Pos = 0;
  R.ReadPrefix(Flags, Pos);
  EXPECT_EQ(Flags, TFilerFlags({ffInherited}));
  EXPECT_EQ(R.ReadStr(), L"TTestForm");
  EXPECT_EQ(R.ReadStr(), L"Form1");
  R.ReadListEnd();
  R.ReadPrefix(Flags, Pos);
  EXPECT_EQ(Flags, TFilerFlags({ffInline, ffChildPos}));
  EXPECT_EQ(Pos, 2);
}

TEST(FilerValues, ValuesReadBackAsWritten) {
  EXPECT_EQ(ReadBack(OneProperty([](TWriter& W) { W.WriteInteger(-300); }),
                     [](TReader& R) { return R.ReadInteger(); }),
            -300);
  EXPECT_EQ(ReadBack(OneProperty([](TWriter& W) { W.WriteInteger(INT64_MIN); }),
                     [](TReader& R) { return R.ReadInt64(); }),
            INT64_MIN);
  EXPECT_EQ(ReadBack(TextToBinary(L"object X: TFoo\r\n  P = 0.33333333333333333334x\r\nend"),
                     [](TReader& R) { return R.ReadFloat(); }),
            1.0L / 3);
  EXPECT_EQ(ReadBack(TextToBinary(L"object X: TFoo P = 0.1s end"),
                     [](TReader& R) { return R.ReadSingle(); }),
            0.1f);
  EXPECT_EQ(ReadBack(TextToBinary(L"object X: TFoo P = -922337203685477.5807c end"),
                     [](TReader& R) { return R.ReadCurrency(); }),
            INT64_MIN + 1);
  EXPECT_EQ(ReadBack(TextToBinary(L"object X: TFoo P = 'a' + #1090'b'#$41 end"),
                     [](TReader& R) { return R.ReadString(); }),
            L"a\x0442"
            L"bA");
  EXPECT_EQ(ReadBack(TextToBinary(L"object X: TFoo P = $FF end"),
                     [](TReader& R) { return R.ReadInteger(); }),
            255);
  // Strings of other encodings than the writer's still read back.
  EXPECT_EQ(ReadBack(OneProperty([](TWriter& W) { W.WriteWideString(L"Ёж"); }),
                     [](TReader& R) { return R.ReadString(); }),
            L"Ёж");
}

TEST(FilerValues, NonFiniteFloatsHaveNoTextForm) {
  TBytes B = OneProperty([](TWriter& W) { W.WriteDouble(HUGE_VAL); });
  EXPECT_THROW(BinaryToText(B), EReadError);
}

TEST_F(FilerFixture, ComponentTreeRoundTripsWithEveryPropertyKind) {
  TOwned<TTestForm> Form = MakeOwned<TTestForm>(nullptr);
  Form->SetName(L"Form1");
  Form->SetCaption(L"Главное окно");
  auto* A = Create<TTestComp>(Form.get());
  A->SetName(L"Comp1");
  auto* B = Create<TTestComp>(Form.get());
  B->SetName(L"Comp2");
  A->SetCount(-7);
  A->SetBig(1LL << 40);
  A->SetRatio(0.1);
  A->SetScale(2.5f);
  A->SetPrecise(1.0L / 3);
  A->SetWhen(45000.5);
  A->SetCaption(L"It's \"quoted\"\r\n");
  A->SetKind(ttGamma);
  A->SetOptions({toBold, toUnderline});
  A->SetEnabled(false);
  A->SetColor(0xFF);
  A->GetFont()->SetName(L"Tahoma");
  A->GetFont()->SetSize(11);
  A->GetFont()->SetStyle({toItalic});
  static_cast<TTestItem*>(A->GetItems()->Add())->SetCaption(L"first");
  static_cast<TTestItem*>(A->GetItems()->Add())->SetValue(42);
  A->SetBuddy(B);
  B->SetBuddy(A);
  A->SetOnChange(MakeEvent<&TTestForm::ButtonClick>(Form.get()));
  A->Extra = {L"x", L"Юникод"};
  A->Blob = {1, 2, 3, 0, 255};
  B->SetColor(0x123456);

  TBytes Binary = WriteRoot(Form.get());
  String Text = BinaryToText(Binary);
  EXPECT_EQ(TextToBinary(Text), Binary);
  EXPECT_NE(Text.find(L"  object Comp1: TTestComp\r\n"), String::npos) << Text;
  EXPECT_NE(Text.find(L"    OnChange = ButtonClick\r\n"), String::npos) << Text;
  EXPECT_NE(Text.find(L"    Color = clRed\r\n"), String::npos) << Text;
  EXPECT_NE(Text.find(L"    Font.Name = 'Tahoma'\r\n"), String::npos) << Text;
  // Defaults are not streamed.
  EXPECT_EQ(Text.find(L"Tag"), String::npos) << Text;
  EXPECT_EQ(Text.find(L"Comp2: TTestComp\r\n    Count"), String::npos) << Text;

  TComponent* Read = ReadRoot(Binary);
  TOwned<TComponent> Guard(Read);
  auto* Form2 = As<TTestForm>(Read);
  EXPECT_EQ(Form2->Name(), L"Form1");
  EXPECT_EQ(Form2->GetCaption(), L"Главное окно");
  ASSERT_EQ(Form2->ComponentCount(), 2);
  TTestComp* A2 = Form2->Comp1;
  TTestComp* B2 = Form2->Comp2;
  ASSERT_NE(A2, nullptr);
  ASSERT_NE(B2, nullptr);
  EXPECT_EQ(A2->GetCount(), -7);
  EXPECT_EQ(A2->GetBig(), 1LL << 40);
  EXPECT_EQ(A2->GetRatio(), 0.1);
  EXPECT_EQ(A2->GetScale(), 2.5f);
  EXPECT_EQ(A2->GetPrecise(), 1.0L / 3);
  EXPECT_EQ(A2->GetWhen(), 45000.5);
  EXPECT_EQ(A2->GetCaption(), L"It's \"quoted\"\r\n");
  EXPECT_EQ(A2->GetKind(), ttGamma);
  EXPECT_EQ(A2->GetOptions(), TTestOptions({toBold, toUnderline}));
  EXPECT_FALSE(A2->GetEnabled());
  EXPECT_EQ(A2->GetColor(), 0xFF);
  EXPECT_EQ(B2->GetColor(), 0x123456);
  EXPECT_EQ(A2->GetFont()->GetName(), L"Tahoma");
  EXPECT_EQ(A2->GetFont()->GetSize(), 11);
  EXPECT_EQ(A2->GetFont()->GetStyle(), TTestOptions({toItalic}));
  ASSERT_EQ(A2->GetItems()->Count(), 2);
  EXPECT_EQ(static_cast<TTestItem*>(A2->GetItems()->Items(0))->GetCaption(), L"first");
  EXPECT_EQ(static_cast<TTestItem*>(A2->GetItems()->Items(1))->GetValue(), 42);
  EXPECT_EQ(A2->GetBuddy(), B2);
  EXPECT_EQ(B2->GetBuddy(), A2);
  EXPECT_EQ(A2->Extra, (std::vector<String>{L"x", L"Юникод"}));
  EXPECT_EQ(A2->Blob, (TBytes{1, 2, 3, 0, 255}));
  EXPECT_TRUE(B2->Extra.empty());
  EXPECT_TRUE(B2->Blob.empty());
  // The event is bound to the new form's method.
  A2->Change();
  EXPECT_EQ(Form2->Clicks, 1);
  EXPECT_EQ(Form2->LastSender, A2);
  EXPECT_EQ(Form->Clicks, 0);
  // Writing what was read gives the same bytes.
  EXPECT_EQ(WriteRoot(Form2), Binary);
}

TEST_F(FilerFixture, LoadedRunsOnceForEveryComponentAfterTheWholeTree) {
  TComponent* Root = ReadText(
      L"object Main: TTestForm\n"
      L"  object Comp1: TTestComp\n"
      L"    Buddy = Comp2\n"  // a reference forward to a later component
      L"  end\n"
      L"  object Comp2: TTestComp\n"
      L"    Buddy = Main.Comp1\n"
      L"  end\n"
      L"end\n");
  TOwned<TComponent> Guard(Root);
  EXPECT_EQ(LoadedLog, (std::vector<String>{L"Main:form", L"Comp1:Comp2", L"Comp2:Comp1"}));
  for (Integer I = 0; I < Root->ComponentCount(); ++I)
    EXPECT_FALSE(Root->Components(I)->ComponentState().Contains(csLoading));
  EXPECT_FALSE(Root->ComponentState().Contains(csLoading));
}

TEST_F(FilerFixture, ChildrenGetTheirParentWhileTheRootOwnsThem) {
  const String Text =
      L"object Root: TTestBox\r\n"
      L"  object Box1: TTestBox\r\n"
      L"    object Inner: TTestBox\r\n"
      L"    end\r\n"
      L"  end\r\n"
      L"  object Plain: TTestComp\r\n"
      L"    Count = 1\r\n"
      L"  end\r\n"
      L"end\r\n";
  TOwned<TComponent> Root(ReadText(Text));
  auto* Box1 = As<TTestBox>(Root->FindComponent(L"Box1"));
  auto* Inner = As<TTestBox>(Root->FindComponent(L"Inner"));
  ASSERT_NE(Box1, nullptr);
  ASSERT_NE(Inner, nullptr);
  EXPECT_EQ(Inner->Owner(), Root.get());
  EXPECT_EQ(Inner->GetParentComponent(), Box1);
  EXPECT_EQ(Box1->GetParentComponent(), Root.get());
  EXPECT_FALSE(Root->FindComponent(L"Plain")->HasParent());
  // Written back through GetChildren, the nesting is the same.
  EXPECT_EQ(BinaryToText(WriteRoot(Root.get())), Text);
}

TEST_F(FilerFixture, ReadingIntoAnExistingRootKeepsItAndBindsItsFields) {
  TTestForm Form(nullptr);
  Form.AfterConstruction();
  ReadText(L"object Form7: TTestForm\n  Caption = 'x'\n  object Comp1: TTestComp\n  end\nend",
           &Form);
  EXPECT_EQ(Form.Name(), L"Form7");
  EXPECT_EQ(Form.GetCaption(), L"x");
  ASSERT_NE(Form.Comp1, nullptr);
  EXPECT_EQ(Form.Comp1->Owner(), &Form);
  // Freeing the owned component clears the form's field.
  Form.Comp1->Free();
  EXPECT_EQ(Form.Comp1, nullptr);
  Form.BeforeDestruction();
}

struct TErrorCase {
  const char* Label;
  String Text;
  TClass ErrorClass;
  String Message;
};

TEST_F(FilerFixture, BadFormsRaiseTheFrameworkErrorsAndFreeWhatWasRead) {
  const String Head = L"object Form1: TTestForm\n  object Comp1: TTestComp\n    Count = 3\n  end\n";
  const TErrorCase Cases[] = {
      {"unknown class", Head + L"  object X: TNoSuchClass\n  end\nend",
       EClassNotFound::StaticClass(), L"Class TNoSuchClass not found"},
      {"unknown property", Head + L"  object Comp2: TTestComp\n    Bogus = 1\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.Bogus: Property Bogus does not exist"},
      {"unknown nested property",
       Head + L"  object Comp2: TTestComp\n    Font.Bogus = 1\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.Font.Bogus: Property Bogus does not exist"},
      {"path through a non-object",
       Head + L"  object Comp2: TTestComp\n    Count.X = 1\n  end\nend", EReadError::StaticClass(),
       L"Error reading Comp2.Count.X: Property Count does not exist"},
      {"wrong value type", Head + L"  object Comp2: TTestComp\n    Count = 'abc'\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.Count: Invalid property value"},
      {"unknown enum value", Head + L"  object Comp2: TTestComp\n    Kind = ttDelta\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.Kind: Invalid property value"},
      {"unknown set element",
       Head + L"  object Comp2: TTestComp\n    Options = [toBold, toX]\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.Options: Invalid property value"},
      {"unknown colour name", Head + L"  object Comp2: TTestComp\n    Color = clPink\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.Color: Invalid property value"},
      {"missing method",
       Head + L"  object Comp2: TTestComp\n    OnChange = NoSuchMethod\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.OnChange: Invalid property value"},
      {"method of another signature",
       Head + L"  object Comp2: TTestComp\n    OnChange = WrongSignature\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.OnChange: Invalid property value"},
      {"unresolved reference", Head + L"  object Comp2: TTestComp\n    Buddy = Nobody\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.Buddy: Invalid property value"},
      {"reference of another class",
       Head + L"  object Comp2: TTestComp\n    Buddy = Form1\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.Buddy: Invalid property value"},
      {"read-only property", Head + L"  object Ro: TTestReadOnly\n    Locked = False\n  end\nend",
       EReadError::StaticClass(), L"Error reading Ro.Locked: Invalid property value"},
      {"collection item property",
       Head + L"  object Comp2: TTestComp\n    Items = <\n      item\n        Bogus = 1\n      "
              L"end>\n  end\nend",
       EReadError::StaticClass(), L"Error reading Comp2.Items: Property Bogus does not exist"},
      {"duplicate name", Head + L"  object comp1: TTestComp\n  end\nend",
       EComponentError::StaticClass(), L"A component named comp1 already exists"},
      {"defined property of wrong shape",
       Head + L"  object Comp2: TTestComp\n    Extra = 5\n  end\nend", EReadError::StaticClass(),
       L"Error reading Comp2.Extra: Invalid property value"},
      {"missing end", Head, EParserError::StaticClass(), L"'end' expected on line 5"},
      {"bad token", L"object Form1: TTestForm\n  Caption = ;\nend", EParserError::StaticClass(),
       L"Invalid property value on line 2"},
      {"unterminated string", L"object Form1: TTestForm\n  Caption = 'abc\nend",
       EParserError::StaticClass(), L"Unterminated string on line 2"},
      {"odd binary", L"object Form1: TTestForm\n  Blob = {ABC}\nend", EParserError::StaticClass(),
       L"Invalid binary value on line 2"},
      {"trailing text", L"object Form1: TTestForm\nend\nextra", EParserError::StaticClass(),
       L"End of file expected on line 3"},
  };
  for (const TErrorCase& C : Cases) {
    SCOPED_TRACE(C.Label);
    try {
      TComponent* Root = ReadText(C.Text);
      Root->Free();
      ADD_FAILURE() << "no exception";
    } catch (Exception& E) {
      EXPECT_EQ(E.ClassType(), C.ErrorClass) << E.ClassName();
      EXPECT_EQ(E.Message(), C.Message);
    }
    EXPECT_EQ(LiveComponents, Baseline);
  }
}

TEST_F(FilerFixture, AFailedReadIntoAnExistingRootLeavesNoHalfReadChildren) {
  TOwned<TTestForm> Form = MakeOwned<TTestForm>(nullptr);
  EXPECT_THROW(ReadText(L"object Form1: TTestForm\n  object Comp1: TTestComp\n  end\n"
                        L"  object Comp2: TTestComp\n    Bogus = 1\n  end\nend",
                        Form.get()),
               EReadError);
  EXPECT_EQ(Form->ComponentCount(), 0);
  EXPECT_EQ(Form->Comp1, nullptr);
  EXPECT_FALSE(Form->ComponentState().Contains(csLoading));
  EXPECT_TRUE(LoadedLog.empty());
}

TEST_F(FilerFixture, TruncatedOrCorruptBinaryRaisesReadErrorAndNeverReadsPastTheData) {
  TOwned<TTestForm> Form = MakeOwned<TTestForm>(nullptr);
  Form->SetName(L"Form1");
  auto* A = Create<TTestComp>(Form.get());
  A->SetName(L"Comp1");
  A->SetCaption(L"A caption long enough to matter");
  A->SetRatio(0.25);
  A->Blob = {9, 8, 7};
  static_cast<TTestItem*>(A->GetItems()->Add())->SetCaption(L"item");
  TBytes Binary = WriteRoot(Form.get());
  for (size_t Len = 0; Len < Binary.size(); ++Len) {
    SCOPED_TRACE(Len);
    // A copy of exactly Len bytes: any read past it is a read of nothing.
    TBytes Cut(Binary.begin(), Binary.begin() + static_cast<ptrdiff_t>(Len));
    auto S = MakeOwned<TBytesStream>(Cut);
    TReader R(S.get());
    try {
      R.ReadRootComponent(nullptr)->Free();
      ADD_FAILURE() << "no exception";
    } catch (EReadError& E) {
      // The message names the property being read, or else the position.
      bool Named = E.Message().rfind(L"Error reading Form1.", 0) == 0 ||
                   E.Message().rfind(L"Error reading Comp1.", 0) == 0 ||
                   E.Message().find(L" at offset ") != String::npos;
      EXPECT_TRUE(Named) << E.Message();
    }
    EXPECT_EQ(LiveComponents, Baseline + 2);
    auto S2 = MakeOwned<TBytesStream>(Cut);
    auto Out = MakeOwned<TBytesStream>();
    EXPECT_THROW(ObjectBinaryToText(S2.get(), Out.get()), EReadError);
  }
  // A length field far beyond the data.
  size_t At = Binary.size();
  for (size_t I = 0; I + 4 < Binary.size(); ++I)
    if (Binary[I] == vaLString || Binary[I] == vaBinary) {
      At = I;
      break;
    }
  TBytes Corrupt = OneProperty([](TWriter& W) { W.WriteBinary("abc", 3); });
  for (size_t I = 0; I < Corrupt.size(); ++I)
    if (Corrupt[I] == vaBinary) {
      Corrupt[I + 4] = 0x7F;  // count 0x7F000003
      break;
    }
  try {
    BinaryToText(Corrupt);
    ADD_FAILURE() << "no exception";
  } catch (EReadError& E) {
    EXPECT_EQ(E.Message().rfind(L"Stream read error", 0), 0u) << E.Message();
  }
  (void)At;
  TBytes BadType = OneProperty([](TWriter& W) { W.WriteValue(static_cast<TValueType>(99)); });
  EXPECT_THROW(BinaryToText(BadType), EReadError);
  TBytes BadSig = Binary;
  BadSig[0] = 'X';
  try {
    ReadRoot(BadSig)->Free();
    ADD_FAILURE() << "no exception";
  } catch (EReadError& E) {
    EXPECT_EQ(E.Message(), L"Invalid stream format");
  }
}

TEST_F(FilerFixture, DeepNestingIsRefusedNotRecursedInto) {
  // Lists within lists, a million deep: a stack overflow if recursed into.
  const size_t Deep = 1000000;
  TBytes Lists = OneProperty([&](TWriter& W) {
    for (size_t I = 0; I < Deep; ++I) W.WriteListBegin();
  });
  EXPECT_THROW(BinaryToText(Lists), EReadError);
  EXPECT_THROW(ReadBack(Lists,
                        [](TReader& R) {
                          R.SkipValue();
                          return 0;
                        }),
               EReadError);
  EXPECT_THROW(TextToBinary(L"object X: TFoo\n  P = " + String(Deep, L'(')), EParserError);
  // Components within components.
  String Text;
  for (int I = 0; I < 300; ++I) Text += L"object C" + IntToStr(I) + L": TTestComp\n";
  for (int I = 0; I < 300; ++I) Text += L"end\n";
  EXPECT_THROW(TextToBinary(Text), EParserError);
  auto S = MakeOwned<TBytesStream>();
  {
    TWriter W(S.get());
    W.WriteSignature();
    for (int I = 0; I < 300; ++I) {
      W.WriteStr(I == 0 ? L"TTestForm" : L"TTestComp");
      W.WriteStr(L"C" + IntToStr(I));
      W.WriteListEnd();  // no properties; the next component is a child
    }
    for (int I = 0; I < 300; ++I) W.WriteListEnd();
  }
  EXPECT_THROW(ReadRoot(S->Bytes())->Free(), EReadError);
  EXPECT_THROW(BinaryToText(S->Bytes()), EReadError);
  // Within the limit all is well.
  String Fine;
  for (int I = 0; I < 20; ++I) Fine += L"object C" + IntToStr(I) + L": TTestComp\n";
  for (int I = 0; I < 20; ++I) Fine += L"end\n";
  TOwned<TComponent> Root(ReadText(Fine));
  EXPECT_EQ(Root->ComponentCount(), 19);
}

TEST_F(FilerFixture, DefinedPropertiesAreWrittenOnlyWithData) {
  TOwned<TTestComp> C = MakeOwned<TTestComp>(nullptr);
  C->SetName(L"Solo");
  String Empty = BinaryToText(WriteRoot(C.get()));
  EXPECT_EQ(Empty, L"object Solo: TTestComp\r\nend\r\n");
  C->Extra = {L"a", L"b"};
  C->Blob = {0xDE, 0xAD};
  String Full = BinaryToText(WriteRoot(C.get()));
  EXPECT_EQ(Full,
            L"object Solo: TTestComp\r\n  Extra = (\r\n    'a'\r\n    'b')\r\n"
            L"  Blob = {\r\n    DEAD}\r\nend\r\n");
  TOwned<TComponent> Copy(ReadText(Full));
  EXPECT_EQ(As<TTestComp>(Copy.get())->Extra, C->Extra);
  EXPECT_EQ(As<TTestComp>(Copy.get())->Blob, C->Blob);
}

TEST_F(FilerFixture, TextFormAcceptsUtf8WithByteOrderMarkAndCrlf) {
  TBytes Data =
      ToUtf8(L"\xFEFFobject Form1: TTestForm\r\n  Caption = 'Карта' + ' слоя'\r\nend\r\n");
  TOwned<TComponent> Root(ReadRoot(Data));
  EXPECT_EQ(As<TTestForm>(Root.get())->GetCaption(), L"Карта слоя");
}

TEST_F(FilerFixture, SingleComponentsWriteAndReadWithoutARootStream) {
  TOwned<TTestForm> Form = MakeOwned<TTestForm>(nullptr);
  Form->SetName(L"Host");
  TOwned<TTestComp> Loose = MakeOwned<TTestComp>(nullptr);
  Loose->SetName(L"Comp2");
  Loose->SetCount(9);
  auto S = MakeOwned<TBytesStream>();
  {
    TWriter W(S.get());
    W.WriteComponent(Loose.get());
  }
  S->SetPosition(0);
  TReader R(S.get());
  R.SetRoot(Form.get());
  R.SetOwner(Form.get());
  TComponent* Read = R.ReadComponent(nullptr);
  EXPECT_EQ(Read->Owner(), Form.get());
  EXPECT_EQ(Form->Comp2, Read);
  EXPECT_EQ(As<TTestComp>(Read)->GetCount(), 9);
  EXPECT_EQ(LoadedLog, (std::vector<String>{L"Comp2:-"}));
  EXPECT_FALSE(Read->ComponentState().Contains(csLoading));
}

TEST_F(FilerFixture, InheritedFormReadsItsAncestorsResourceFirst) {
  // TTESTFORM, then TTESTFORMEX with inherited components changed and one
  // added.
  TOwned<TTestFormEx> Form = MakeOwned<TTestFormEx>(nullptr);
  EXPECT_TRUE(InitInheritedComponent(Form.get(), TComponent::StaticClass()));
  EXPECT_EQ(Form->Name(), L"TestForm");
  EXPECT_EQ(Form->GetCaption(), L"Derived");
  ASSERT_EQ(Form->ComponentCount(), 3);
  EXPECT_EQ(Form->Comp1->GetCount(), 5);
  EXPECT_EQ(Form->Comp1->GetCaption(), L"First");
  EXPECT_EQ(Form->Comp1->GetBuddy(), Form->Comp2);
  auto* Comp3 = As<TTestComp>(Form->FindComponent(L"Comp3"));
  ASSERT_NE(Comp3, nullptr);
  EXPECT_EQ(Comp3->GetBuddy(), Form->Comp1);
  // An inherited component that the ancestor does not have is an error.
  TOwned<TTestForm> Plain = MakeOwned<TTestForm>(nullptr);
  try {
    ReadText(L"inherited F: TTestForm\n  inherited Ghost: TTestComp\n  end\nend", Plain.get());
    ADD_FAILURE() << "no exception";
  } catch (EReadError& E) {
    EXPECT_EQ(E.Message(), L"Ancestor for 'Ghost' not found");
  }
}

TEST_F(FilerFixture, FormResourceCompiledIntoTheProgramLoads) {
  // resources: FilerTest.rc embeds FilerTestForm.txt as RCDATA TTESTFORM.
  TOwned<TTestForm> Form = MakeOwned<TTestForm>(nullptr);
  EXPECT_TRUE(InitInheritedComponent(Form.get(), TComponent::StaticClass()));
  EXPECT_EQ(Form->Name(), L"TestForm");
  EXPECT_EQ(Form->GetCaption(), L"Проверка формы");
  ASSERT_NE(Form->Comp1, nullptr);
  ASSERT_NE(Form->Comp2, nullptr);
  EXPECT_EQ(Form->Comp1->GetBuddy(), Form->Comp2);
  EXPECT_EQ(Form->Comp1->GetFont()->GetName(), L"Tahoma");
  EXPECT_EQ(Form->Comp2->GetItems()->Count(), 2);
  Form->Comp1->Change();
  EXPECT_EQ(Form->Clicks, 1);
  EXPECT_THROW(ReadComponentRes(L"NO_SUCH_FORM", nullptr), EResNotFound);
  // A class without a resource of its own.
  TOwned<TTestComp> Plain = MakeOwned<TTestComp>(nullptr);
  EXPECT_FALSE(InitInheritedComponent(Plain.get(), TComponent::StaticClass()));
}

}  // namespace
