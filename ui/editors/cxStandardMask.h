// The classic positional edit mask: each mask character is either a position
// the user fills (a placeholder with a rule and a must-fill flag) or a literal
// shown in place.
#pragma once

#include <vector>

#include "SysUtils.h"

enum TcxCaseControl { ccUpperCase, ccLowerCase, ccUserCase };

constexpr Char cxDefaultBlank = L'_';

class TcxStandardMaskCustomItem : public TObject {
  DECLARE_CLASS(TcxStandardMaskCustomItem, TObject)
 public:
  // May change AChar's case, whether or not it accepts it.
  virtual bool Check(Char& AChar) = 0;
};

class TcxStandardMaskLiteralItem : public TcxStandardMaskCustomItem {
  DECLARE_CLASS(TcxStandardMaskLiteralItem, TcxStandardMaskCustomItem)
 public:
  explicit TcxStandardMaskLiteralItem(Char ALiteral) : FLiteral(ALiteral) {}
  bool Check(Char& AChar) override { return AChar == FLiteral; }
  Char Literal() const { return FLiteral; }

 private:
  Char FLiteral;
};

class TcxStandardMaskManyItem : public TcxStandardMaskCustomItem {
  DECLARE_CLASS(TcxStandardMaskManyItem, TcxStandardMaskCustomItem)
 public:
  TcxStandardMaskManyItem(TcxCaseControl ACaseControl, bool AOptional)
      : FCaseControl(ACaseControl), FOptional(AOptional) {}
  bool Check(Char& AChar) override;
  bool Optional() const { return FOptional; }
  TcxCaseControl CaseControl() const { return FCaseControl; }

 protected:
  virtual bool DoCheck(Char AChar) const = 0;
  void DoCaseControl(Char& AChar) const;

 private:
  TcxCaseControl FCaseControl;
  bool FOptional;
};

class TcxStandardMaskAlphaItem : public TcxStandardMaskManyItem {
  DECLARE_CLASS(TcxStandardMaskAlphaItem, TcxStandardMaskManyItem)
 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool DoCheck(Char AChar) const override;
};

class TcxStandardMaskAlphaNumericItem : public TcxStandardMaskManyItem {
  DECLARE_CLASS(TcxStandardMaskAlphaNumericItem, TcxStandardMaskManyItem)
 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool DoCheck(Char AChar) const override;
};

class TcxStandardMaskASCIIItem : public TcxStandardMaskManyItem {
  DECLARE_CLASS(TcxStandardMaskASCIIItem, TcxStandardMaskManyItem)
 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool DoCheck(Char) const override { return true; }
};

class TcxStandardMaskNumericItem : public TcxStandardMaskManyItem {
  DECLARE_CLASS(TcxStandardMaskNumericItem, TcxStandardMaskManyItem)
 public:
  using TcxStandardMaskManyItem::TcxStandardMaskManyItem;

 protected:
  bool DoCheck(Char AChar) const override { return AChar >= L'0' && AChar <= L'9'; }
};

class TcxStandardMaskNumericSymbolItem : public TcxStandardMaskManyItem {
  DECLARE_CLASS(TcxStandardMaskNumericSymbolItem, TcxStandardMaskManyItem)
 public:
  explicit TcxStandardMaskNumericSymbolItem(TcxCaseControl ACaseControl)
      : TcxStandardMaskManyItem(ACaseControl, true) {}

 protected:
  bool DoCheck(Char AChar) const override {
    return (AChar >= L'0' && AChar <= L'9') || AChar == L'+' || AChar == L'-';
  }
};

class TcxStandardMask : public TObject {
  DECLARE_CLASS(TcxStandardMask, TObject)
 public:
  // Rebuilds the items from a mask string; it never fails.
  void Compile(const String& AMask);
  // Fits a text into the mask; AText becomes the full display text.
  void Format(String& AText, bool AChangeCharCase = true, bool AMatchForBlanksAndLiterals = false);
  // Turns a full display text into the value to store.
  void Format2(String& AText);
  bool IsValid(String& AText);
  bool IsFullValid(String& AText);
  bool IsBlank(Char AChar) const { return AChar == FBlank || AChar == L' '; }
  String GetEmptyString() const;
  String GetFullEmptyString() const;
  void Clear();

  const String& Mask() const { return FMask; }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TcxStandardMaskCustomItem* Items(Integer AIndex) const {
    return FItems.at(static_cast<size_t>(AIndex)).get();
  }
  String EmptyString() const { return GetEmptyString(); }
  String FullEmptyString() const { return GetFullEmptyString(); }
  bool Leading() const { return FLeading; }
  bool SaveLiteralCharacters() const { return FSaveLiteralCharacters; }
  void SetSaveLiteralCharacters(bool AValue) { FSaveLiteralCharacters = AValue; }
  Char Blank() const { return FBlank; }
  void SetBlank(Char AValue) { FBlank = AValue; }

 private:
  bool IsLiteral(size_t AIndex) const;
  bool IsPlaceholder(size_t AIndex) const { return !IsLiteral(AIndex); }

  String FMask;
  std::vector<TOwned<TcxStandardMaskCustomItem>> FItems;
  bool FLeading = false;
  bool FSaveLiteralCharacters = true;
  Char FBlank = cxDefaultBlank;
};
