// Components with every kind of published property, shared by the filer
// tests.
#pragma once

#include "Classes.h"

namespace FilerTest {

extern int LiveComponents;
extern std::vector<String> LoadedLog;

enum TTestKind { ttAlpha, ttBeta, ttGamma };
inline constexpr const wchar_t* TestKindNames[] = {L"ttAlpha", L"ttBeta", L"ttGamma"};
inline constexpr TEnumInfo TestKindInfo = MakeEnumInfo(L"TTestKind", TestKindNames);

enum TTestOption { toBold, toItalic, toUnderline };
using TTestOptions = TSet<TTestOption>;
inline constexpr const wchar_t* TestOptionNames[] = {L"toBold", L"toItalic", L"toUnderline"};
inline constexpr TEnumInfo TestOptionInfo = MakeEnumInfo(L"TTestOption", TestOptionNames);

bool IdentToTestColor(const String& Ident, Integer& Value);
bool TestColorToIdent(Integer Value, String& Ident);

class TTestFont : public TPersistent {
  DECLARE_CLASS(TTestFont, TPersistent)
 public:
  const String& GetName() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  Integer GetSize() const { return FSize; }
  void SetSize(Integer Value) { FSize = Value; }
  TTestOptions GetStyle() const { return FStyle; }
  void SetStyle(TTestOptions Value) { FStyle = Value; }

 private:
  String FName;
  Integer FSize = 8;
  TTestOptions FStyle;
};

class TTestItem : public TCollectionItem {
  DECLARE_CLASS(TTestItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  Integer GetValue() const { return FValue; }
  void SetValue(Integer Value) { FValue = Value; }

 private:
  String FCaption;
  Integer FValue = 0;
};

class TTestComp : public TComponent {
  DECLARE_CLASS(TTestComp, TComponent)
 public:
  explicit TTestComp(TComponent* AOwner);
  ~TTestComp() override;

  Integer GetCount() const { return FCount; }
  void SetCount(Integer V) { FCount = V; }
  Int64 GetBig() const { return FBig; }
  void SetBig(Int64 V) { FBig = V; }
  Double GetRatio() const { return FRatio; }
  void SetRatio(Double V) { FRatio = V; }
  Single GetScale() const { return FScale; }
  void SetScale(Single V) { FScale = V; }
  Extended GetPrecise() const { return FPrecise; }
  void SetPrecise(Extended V) { FPrecise = V; }
  TDateTime GetWhen() const { return FWhen; }
  void SetWhen(TDateTime V) { FWhen = V; }
  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& V) { FCaption = V; }
  TTestKind GetKind() const { return FKind; }
  void SetKind(TTestKind V) { FKind = V; }
  TTestOptions GetOptions() const { return FOptions; }
  void SetOptions(TTestOptions V) { FOptions = V; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool V) { FEnabled = V; }
  Integer GetColor() const { return FColor; }
  void SetColor(Integer V) { FColor = V; }
  TTestFont* GetFont() const { return FFont.get(); }
  TOwnedCollection* GetItems() const { return FItems.get(); }
  TTestComp* GetBuddy() const { return FBuddy; }
  void SetBuddy(TTestComp* V);
  TNotifyEvent GetOnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent V) { FOnChange = V; }
  void Change() {
    if (FOnChange) FOnChange(this);
  }

  std::vector<String> Extra;
  TBytes Blob;
  bool ReadOnlyValue() const { return true; }

  void Loaded() override;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ReadExtra(TReader* Reader);
  void WriteExtra(TWriter* Writer);
  void ReadBlob(TStream* Stream);
  void WriteBlob(TStream* Stream);

  Integer FCount = 0;
  Int64 FBig = 0;
  Double FRatio = 0;
  Single FScale = 0;
  Extended FPrecise = 0;
  TDateTime FWhen = 0;
  String FCaption;
  TTestKind FKind = ttAlpha;
  TTestOptions FOptions;
  bool FEnabled = true;
  Integer FColor = 0;
  TOwned<TTestFont> FFont;
  TOwned<TOwnedCollection> FItems;
  TTestComp* FBuddy = nullptr;
  TNotifyEvent FOnChange;
};

// A component with a read-only published ordinal: reading it must fail.
class TTestReadOnly : public TComponent {
  DECLARE_CLASS(TTestReadOnly, TComponent)
 public:
  using TComponent::TComponent;
  bool GetLocked() const { return true; }
};

class TTestForm : public TComponent {
  DECLARE_CLASS(TTestForm, TComponent)
 public:
  explicit TTestForm(TComponent* AOwner) : TComponent(AOwner) { ++LiveComponents; }
  ~TTestForm() override { --LiveComponents; }
  const String& GetCaption() const { return FCaption; }
  void SetCaption(const String& V) { FCaption = V; }
  void Loaded() override;

  void ButtonClick(TObject* Sender) {
    ++Clicks;
    LastSender = Sender;
  }
  void WrongSignature(Integer) {}

  TTestComp* Comp1 = nullptr;
  TTestComp* Comp2 = nullptr;
  int Clicks = 0;
  TObject* LastSender = nullptr;

 private:
  String FCaption;
};

// A form that inherits TTestForm's resource and adds its own.
class TTestFormEx : public TTestForm {
  DECLARE_CLASS(TTestFormEx, TTestForm)
 public:
  using TTestForm::TTestForm;
};

// Components with parents apart from their owner, the way controls nest.
class TTestBox : public TComponent {
  DECLARE_CLASS(TTestBox, TComponent)
 public:
  using TComponent::TComponent;
  void BeforeDestruction() override;
  TComponent* GetParentComponent() const override { return FParentBox; }
  bool HasParent() const override { return FParentBox != nullptr; }
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  std::vector<TTestBox*> Kids;

 private:
  TTestBox* FParentBox = nullptr;
};

void RegisterTestClasses();

}  // namespace FilerTest
