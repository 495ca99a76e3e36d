// The library's own regular-expression dialect for edit masks: a compiler that
// reports every error with its position, and an automaton that takes the text
// one character at a time, steps back, adjusts letter case and inserts the
// characters that the pattern leaves no choice about. It is not a search
// engine: a pattern always describes the whole text.
#pragma once

#include <vector>

#include "Classes.h"
#include "SysUtils.h"

// The editor framework's misuse error; the regular-expression errors derive
// from it.
DECLARE_EXCEPTION(EcxEditError, Exception)

// Expansion of counts and references is bounded so that a short pattern cannot
// exhaust memory: a compile that would hold more items than this fails at the
// quantifier or reference that passes the bound.
constexpr Integer cxRegExprMaxItems = 100000;
// Blocks nest at most this deep (written blocks, the chains of «{n,m}» and the
// blocks that stacked quantifiers add), so that no walk of the tree runs out
// of stack.
constexpr Integer cxRegExprMaxNesting = 1000;

enum TcxRegExprLexemCode {
  relcSymbol,
  relcSpecial,
  relcInteger,
  relcAll,
  relcId,
  relcNotId,
  relcDigit,
  relcNotDigit,
  relcSpace,
  relcNotSpace,
  relcReference,
  relcDateSeparator,
  relcTimeSeparator
};

struct TcxLexem {
  Integer Char = 0;
  TcxRegExprLexemCode Code = relcSymbol;
  Integer Line = 0;
  String Value;
};

class TcxLexems : public TObject {
  DECLARE_CLASS(TcxLexems, TObject)
 public:
  void Add(const TcxLexem& ALexem) { FItems.push_back(ALexem); }
  void Clear() { FItems.clear(); }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TcxLexem Items(Integer AIndex) const { return FItems.at(static_cast<size_t>(AIndex)); }
  const TcxLexem& Item(Integer AIndex) const { return FItems[static_cast<size_t>(AIndex)]; }

 private:
  std::vector<TcxLexem> FItems;
};

class TcxRegExprError : public TObject {
  DECLARE_CLASS(TcxRegExprError, TObject)
 public:
  TcxRegExprError(Integer ALine, Integer AChar, const String& AMessage)
      : FLine(ALine), FChar(AChar), FMessage(AMessage) {}
  TcxRegExprError* Clone() const;
  // «Line1, Char4: text»; an error without position is its text alone.
  String FullMessage() const;
  Integer Line() const { return FLine; }
  Integer Char() const { return FChar; }
  const String& Message() const { return FMessage; }

 private:
  Integer FLine;
  Integer FChar;
  String FMessage;
};

class TcxRegExprErrors : public TObject {
  DECLARE_CLASS(TcxRegExprErrors, TObject)
 public:
  void Add(TcxRegExprError* AError);
  void Clear() { FItems.clear(); }
  TcxRegExprErrors* Clone() const;
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TcxRegExprError* Items(Integer AIndex) const {
    return FItems.at(static_cast<size_t>(AIndex)).get();
  }

 private:
  std::vector<TOwned<TcxRegExprError>> FItems;
};

// Carries its own copy of the compile errors, so that they stay readable after
// the compiler compiles again or is freed. The message text is empty: the
// receiver builds its own text from the errors.
class EcxRegExprError : public EcxEditError {
  DECLARE_CLASS_INLINE(EcxRegExprError, EcxEditError)
 public:
  explicit EcxRegExprError(const TcxRegExprErrors& AErrors);
  EcxRegExprError(const EcxRegExprError& E);
  EcxRegExprError& operator=(const EcxRegExprError& E);
  const TcxRegExprErrors& Errors() const { return *FErrors; }
  [[noreturn]] void RaiseNew(const String& AMessage) const override;
  Exception* Clone() const override { return new EcxRegExprError(*this); }
  [[noreturn]] void Raise() const override { throw *this; }

 private:
  TOwned<TcxRegExprErrors> FErrors;
};

// ---------------------------------------------------------------------------
// Character tests

class TcxRegExprItem : public TObject {
  DECLARE_CLASS(TcxRegExprItem, TObject)
 public:
  virtual bool Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) = 0;
  virtual TcxRegExprItem* Clone() const = 0;
  // Accepts the token as typed, without folding its case, under the given matching mode.
  virtual bool CheckExact(Char& AToken, bool ACaseInsensitive) {
    return Check(AToken, false, false);
  }
  // The one character the test stands for, when it stands for exactly one
  // (a literal or a separator); used to find the characters a pattern forces.
  virtual bool GetSymbol(Char& AChar) const { return false; }
};

class TcxRegExprSymbol : public TcxRegExprItem {
  DECLARE_CLASS(TcxRegExprSymbol, TcxRegExprItem)
 public:
  explicit TcxRegExprSymbol(Char AValue) : FValue(AValue) {}
  bool Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) override;
  TcxRegExprItem* Clone() const override { return new TcxRegExprSymbol(FValue); }
  bool GetSymbol(Char& AChar) const override;

 private:
  Char FValue;
};

class TcxRegExprTimeSeparator : public TcxRegExprItem {
  DECLARE_CLASS(TcxRegExprTimeSeparator, TcxRegExprItem)
 public:
  static Char Value();
  bool Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) override;
  TcxRegExprItem* Clone() const override { return new TcxRegExprTimeSeparator; }
  bool GetSymbol(Char& AChar) const override;
};

class TcxRegExprDateSeparator : public TcxRegExprItem {
  DECLARE_CLASS(TcxRegExprDateSeparator, TcxRegExprItem)
 public:
  static Char Value();
  bool Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) override;
  TcxRegExprItem* Clone() const override { return new TcxRegExprDateSeparator; }
  bool GetSymbol(Char& AChar) const override;
};

class TcxRegExprSubrange : public TcxRegExprItem {
  DECLARE_CLASS(TcxRegExprSubrange, TcxRegExprItem)
 public:
  TcxRegExprSubrange(Char AStartValue, Char AFinishValue)
      : FStartValue(AStartValue), FFinishValue(AFinishValue) {}
  bool Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) override;
  TcxRegExprItem* Clone() const override {
    return new TcxRegExprSubrange(FStartValue, FFinishValue);
  }

 private:
  Char FStartValue;
  Char FFinishValue;
};

class TcxRegExprEnumeration : public TcxRegExprItem {
  DECLARE_CLASS(TcxRegExprEnumeration, TcxRegExprItem)
 public:
  explicit TcxRegExprEnumeration(bool AInverse) : FInverse(AInverse) {}
  bool Inverse() const { return FInverse; }

 protected:
  bool FInverse;
};

class TcxRegExprUserEnumeration : public TcxRegExprEnumeration {
  DECLARE_CLASS(TcxRegExprUserEnumeration, TcxRegExprEnumeration)
 public:
  explicit TcxRegExprUserEnumeration(bool AInverse) : TcxRegExprEnumeration(AInverse) {}
  void Add(TcxRegExprItem* AItem) { FItems.emplace_back(AItem); }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  bool Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) override;
  bool CheckExact(Char& AToken, bool ACaseInsensitive) override;
  TcxRegExprItem* Clone() const override;

 private:
  std::vector<TOwned<TcxRegExprItem>> FItems;
};

class TcxRegExprDigit : public TcxRegExprEnumeration {
  DECLARE_CLASS(TcxRegExprDigit, TcxRegExprEnumeration)
 public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  bool Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) override;
  TcxRegExprItem* Clone() const override { return new TcxRegExprDigit(FInverse); }
};

class TcxRegExprIdLetter : public TcxRegExprEnumeration {
  DECLARE_CLASS(TcxRegExprIdLetter, TcxRegExprEnumeration)
 public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  bool Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) override;
  TcxRegExprItem* Clone() const override { return new TcxRegExprIdLetter(FInverse); }
};

class TcxRegExprSpace : public TcxRegExprEnumeration {
  DECLARE_CLASS(TcxRegExprSpace, TcxRegExprEnumeration)
 public:
  using TcxRegExprEnumeration::TcxRegExprEnumeration;
  bool Check(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase) override;
  TcxRegExprItem* Clone() const override { return new TcxRegExprSpace(FInverse); }
};

class TcxRegExprAll : public TcxRegExprItem {
  DECLARE_CLASS(TcxRegExprAll, TcxRegExprItem)
 public:
  bool Check(Char&, bool, bool) override { return true; }
  TcxRegExprItem* Clone() const override { return new TcxRegExprAll; }
};

// ---------------------------------------------------------------------------
// States. A simple state tests one character; the other states (the entry and
// exit of a block, and the links that skip items that may be missing) are
// looked through: they never stand in a current set.

class TcxRegExprSimpleState;

class TcxRegExprState : public TObject {
  DECLARE_CLASS(TcxRegExprState, TObject)
 public:
  void Add(TcxRegExprState* AState) { FStates.push_back(AState); }
  const std::vector<TcxRegExprState*>& States() const { return FStates; }
  virtual TcxRegExprSimpleState* AsSimple() { return nullptr; }

 private:
  friend class TcxRegExprAutomat;
  std::vector<TcxRegExprState*> FStates;
  // The last walk of the automaton that reached the state; a walk reaches
  // each state once, which also cuts the cycles that «{n,}» can make of
  // block states.
  Cardinal FMark = 0;
};

class TcxRegExprSimpleState : public TcxRegExprState {
  DECLARE_CLASS(TcxRegExprSimpleState, TcxRegExprState)
 public:
  explicit TcxRegExprSimpleState(TcxRegExprItem* AValue) : FValue(AValue) {}
  TcxRegExprSimpleState* AsSimple() override { return this; }
  TcxRegExprSimpleState* Clone() const;
  bool IsFinal() const { return FIsFinal; }
  void SetFinal() { FIsFinal = true; }
  TcxRegExprItem* Value() const { return FValue.get(); }

 private:
  friend class TcxRegExprAutomat;
  TOwned<TcxRegExprItem> FValue;
  bool FIsFinal = false;
  Cardinal FSetMark = 0;
};

class TcxRegExprBlockState : public TcxRegExprState {
  DECLARE_CLASS(TcxRegExprBlockState, TcxRegExprState)
};

// An ordered set of simple states.
class TcxRegExprStates {
 public:
  void Add(TcxRegExprSimpleState* AState);
  void Clear() { FItems.clear(); }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TcxRegExprSimpleState* GetState(Integer AIndex) const {
    return FItems[static_cast<size_t>(AIndex)];
  }
  bool IsFinal() const;
  // True when the set is one character that must come: every state is a
  // literal or a separator, all standing for the same character.
  bool Equ(Char& ASymbol) const;

 private:
  friend class TcxRegExprAutomat;
  std::vector<TcxRegExprSimpleState*> FItems;
};

// ---------------------------------------------------------------------------
// Quantifiers

class TcxRegExprQuantifier : public TObject {
  DECLARE_CLASS(TcxRegExprQuantifier, TObject)
 public:
  virtual bool CanMissing() const = 0;
  virtual bool CanRepeat() const = 0;
  virtual TcxRegExprQuantifier* Clone() const = 0;
  virtual String Print() const = 0;
};

class TcxRegExprSimpleQuantifier : public TcxRegExprQuantifier {
  DECLARE_CLASS(TcxRegExprSimpleQuantifier, TcxRegExprQuantifier)
 public:
  bool CanMissing() const override { return false; }
  bool CanRepeat() const override { return false; }
  TcxRegExprQuantifier* Clone() const override { return new TcxRegExprSimpleQuantifier; }
  String Print() const override { return String(); }
};

class TcxRegExprQuestionQuantifier : public TcxRegExprQuantifier {
  DECLARE_CLASS(TcxRegExprQuestionQuantifier, TcxRegExprQuantifier)
 public:
  bool CanMissing() const override { return true; }
  bool CanRepeat() const override { return false; }
  TcxRegExprQuantifier* Clone() const override { return new TcxRegExprQuestionQuantifier; }
  String Print() const override { return L"?"; }
};

class TcxRegExprStarQuantifier : public TcxRegExprQuantifier {
  DECLARE_CLASS(TcxRegExprStarQuantifier, TcxRegExprQuantifier)
 public:
  bool CanMissing() const override { return true; }
  bool CanRepeat() const override { return true; }
  TcxRegExprQuantifier* Clone() const override { return new TcxRegExprStarQuantifier; }
  String Print() const override { return L"*"; }
};

class TcxRegExprPlusQuantifier : public TcxRegExprQuantifier {
  DECLARE_CLASS(TcxRegExprPlusQuantifier, TcxRegExprQuantifier)
 public:
  bool CanMissing() const override { return false; }
  bool CanRepeat() const override { return true; }
  TcxRegExprQuantifier* Clone() const override { return new TcxRegExprPlusQuantifier; }
  String Print() const override { return L"+"; }
};

// ---------------------------------------------------------------------------
// Parse tree

class TcxRegExprParserItem : public TObject {
  DECLARE_CLASS(TcxRegExprParserItem, TObject)
 public:
  explicit TcxRegExprParserItem(TcxRegExprQuantifier* AQuantifier = nullptr);
  // Can match the empty text: missing, or a block whose content can.
  virtual bool CanEmpty() const = 0;
  virtual TcxRegExprParserItem* Clone() const = 0;
  virtual String Print() const = 0;
  virtual void SetFinal() = 0;
  virtual TcxRegExprState* EntryState() = 0;
  virtual TcxRegExprState* ExitState() = 0;
  // Items in the subtree (this one included) and the blocks nested in it
  // (0 for a simple item), for the compiler's limits.
  virtual Integer ItemCount() const = 0;
  virtual Integer Depth() const = 0;

  bool CanMissing() const { return FQuantifier->CanMissing(); }
  bool CanRepeat() const { return FQuantifier->CanRepeat(); }
  bool NotQuantifier() const;
  void SetQuantifier(TcxRegExprQuantifier* AQuantifier);
  const TcxRegExprQuantifier* Quantifier() const { return FQuantifier.get(); }

 protected:
  TOwned<TcxRegExprQuantifier> FQuantifier;
};

class TcxRegExprParserSimpleItem : public TcxRegExprParserItem {
  DECLARE_CLASS(TcxRegExprParserSimpleItem, TcxRegExprParserItem)
 public:
  explicit TcxRegExprParserSimpleItem(TcxRegExprItem* AValue,
                                      TcxRegExprQuantifier* AQuantifier = nullptr);
  bool CanEmpty() const override { return CanMissing(); }
  TcxRegExprParserItem* Clone() const override;
  String Print() const override;
  void SetFinal() override { FState->SetFinal(); }
  TcxRegExprState* EntryState() override { return FState.get(); }
  TcxRegExprState* ExitState() override { return FState.get(); }
  Integer ItemCount() const override { return 1; }
  Integer Depth() const override { return 0; }
  TcxRegExprSimpleState* State() const { return FState.get(); }

 private:
  TOwned<TcxRegExprSimpleState> FState;
};

class TcxRegExprParserAlt;
class TcxRegExprParserAlts;

class TcxRegExprParserBlockItem : public TcxRegExprParserItem {
  DECLARE_CLASS(TcxRegExprParserBlockItem, TcxRegExprParserItem)
 public:
  explicit TcxRegExprParserBlockItem(TcxRegExprQuantifier* AQuantifier = nullptr);
  ~TcxRegExprParserBlockItem() override;
  bool CanEmpty() const override;
  TcxRegExprParserItem* Clone() const override;
  String Print() const override;
  void SetFinal() override;
  TcxRegExprState* EntryState() override { return FStartState.get(); }
  TcxRegExprState* ExitState() override { return FFinishState.get(); }
  Integer ItemCount() const override;
  Integer Depth() const override;

  TcxRegExprParserAlt* AddAlt();
  void AddAlts(TcxRegExprParserAlts* AAlts);
  void CreateConnections();
  TcxRegExprParserAlts* Alts() const { return FAlts.get(); }

 private:
  TOwned<TcxRegExprParserAlts> FAlts;
  TOwned<TcxRegExprBlockState> FStartState;
  TOwned<TcxRegExprBlockState> FFinishState;
};

class TcxRegExprParserAlt : public TObject {
  DECLARE_CLASS(TcxRegExprParserAlt, TObject)
 public:
  void Add(TcxRegExprParserItem* AItem) { FItems.emplace_back(AItem); }
  bool CanEmpty() const;
  bool CanMissing() const;
  TcxRegExprParserAlt* Clone() const;
  // Connects the items with each other, their blocks inside, and the trailing
  // items with AFinishState (nil at the top level).
  void CreateConnections(TcxRegExprState* AFinishState);
  void CreateFinalStates();
  // The state that leads to the leading items up to the first that cannot be
  // missing; nil for an alternative without items.
  TcxRegExprState* GetStartConnections();
  String Print() const;
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TcxRegExprParserItem* GetItem(Integer AIndex) const {
    return FItems[static_cast<size_t>(AIndex)].get();
  }
  TcxRegExprParserItem* FirstItem() const {
    return FItems.empty() ? nullptr : FItems.front().get();
  }
  TcxRegExprParserItem* LastItem() const { return FItems.empty() ? nullptr : FItems.back().get(); }
  // Frees the last item and puts AValue in its place.
  void SetLastItem(TcxRegExprParserItem* AValue);
  // Takes the last item out without freeing it and puts AValue in its place.
  TcxRegExprParserItem* ReplaceLastItem(TcxRegExprParserItem* AValue);
  Integer ItemCount() const;
  Integer Depth() const;

 private:
  void CreateSkipStates();
  std::vector<TOwned<TcxRegExprParserItem>> FItems;
  // FSkips[i] leads to item i and, when item i can be missing, on to
  // FSkips[i + 1]: the edges from an item to the items after it that it may
  // reach, without one edge per pair.
  std::vector<TOwned<TcxRegExprBlockState>> FSkips;
};

class TcxRegExprParserAlts : public TObject {
  DECLARE_CLASS(TcxRegExprParserAlts, TObject)
 public:
  void Add(TcxRegExprParserAlt* AAlt) { FAlts.emplace_back(AAlt); }
  TcxRegExprParserAlt* AddAlt();
  bool CanEmpty() const;
  void CreateConnections(TcxRegExprState* AFinishState);
  void CreateFinalStates();
  TcxRegExprParserAlts* Clone() const;
  void GetStartConnections(TcxRegExprState* AState);
  void SetFinishConnections(TcxRegExprState* AFinishState);
  bool StartStateIsFinal() const;
  bool ThereIsEmptyAlt() const;
  String Print() const;
  Integer Count() const { return static_cast<Integer>(FAlts.size()); }
  TcxRegExprParserAlt* GetAlt(Integer AIndex) const {
    return FAlts[static_cast<size_t>(AIndex)].get();
  }
  TcxRegExprParserAlt* LastAlt() const { return FAlts.empty() ? nullptr : FAlts.back().get(); }
  // Moves every alternative of AAlts to the end of this list.
  void TakeAlts(TcxRegExprParserAlts* AAlts);
  Integer ItemCount() const;
  Integer Depth() const;

 private:
  std::vector<TOwned<TcxRegExprParserAlt>> FAlts;
};

// ---------------------------------------------------------------------------
// Automaton

class TcxRegExpr;

class TcxRegExprAutomat : public TObject {
  DECLARE_CLASS(TcxRegExprAutomat, TObject)
 public:
  // Takes over the connected tree.
  TcxRegExprAutomat(TcxRegExprParserAlts* AExpr, TcxRegExpr* AOwner);
  ~TcxRegExprAutomat() override;

  bool Next(Char& AToken, bool ACaseInsensitive, bool ACanChangeCase);
  bool Prev();
  void Reset();
  bool IsFinal() const { return FCurrentStates.IsFinal(); }
  bool IsStart() const;
  // The states that can follow the current set, looking through block states.
  TcxRegExprStates GetAllNextStates();
  void Update();
  void ReUpdate();
  String Print() const;
  void Push();
  bool Pop();
  const TcxRegExprStates& CurrentStates() const { return FCurrentStates; }
  Integer HistoryCount() const { return static_cast<Integer>(FHistory.size()); }

 private:
  using TStateIterator = std::vector<TcxRegExprSimpleState*>::const_iterator;
  template <class TVisit>
  void Walk(TcxRegExprState* AFrom, TVisit AVisit);
  void AllNextStates(TStateIterator ABegin, TStateIterator AEnd, TcxRegExprStates& AResult);
  // Makes the next set (FNext) current and keeps the current one in the history.
  void Advance();

  TcxRegExpr* FOwner;
  TOwned<TcxRegExprParserAlts> FExpr;
  TOwned<TcxRegExprSimpleState> FStartState;
  TcxRegExprStates FCurrentStates;
  TcxRegExprStates FNext;
  // The earlier sets one after another in one buffer, and where each starts: a
  // step then allocates nothing, and long texts stay linear.
  std::vector<TcxRegExprSimpleState*> FHistoryItems;
  std::vector<size_t> FHistory;
  std::vector<TcxRegExprState*> FStack;
  Cardinal FMark = 0;
  Cardinal FSetMark = 0;
};

// ---------------------------------------------------------------------------

using TcxRegExprSymbolUpdateEvent = TMethodPtr<void(Char ASymbol)>;
using TcxRegExprSymbolDeleteEvent = TMethodPtr<void()>;

class TcxRegExpr : public TObject {
  DECLARE_CLASS(TcxRegExpr, TObject)
 public:
  TcxRegExpr();
  ~TcxRegExpr() override;

  // Compiles the whole content of a stream read as UTF-8 text; raises
  // EcxRegExprError on any compile error.
  void Compile(TStream* AStream);
  void Compile(const String& S);

  bool Next(Char& AToken);
  String NextEx(const String& AString);
  bool Prev();
  void Reset();
  bool IsFinal();
  bool IsStart();
  String Print();

  bool IsCompiled() const { return FCompiled; }
  TcxRegExprAutomat* Automat() const { return FAutomat.get(); }
  // The pattern stream while compiled, nil otherwise.
  TStream* Stream() const;
  bool UpdateOn() const { return FUpdateOn; }
  void SetUpdateOn(bool AUpdateOn);
  bool CaseInsensitive() const { return FCaseInsensitive; }
  void SetCaseInsensitive(bool AValue) { FCaseInsensitive = AValue; }
  const TcxRegExprSymbolDeleteEvent& OnSymbolDelete() const { return FOnSymbolDelete; }
  void SetOnSymbolDelete(const TcxRegExprSymbolDeleteEvent& AValue) { FOnSymbolDelete = AValue; }
  const TcxRegExprSymbolUpdateEvent& OnSymbolUpdate() const { return FOnSymbolUpdate; }
  void SetOnSymbolUpdate(const TcxRegExprSymbolUpdateEvent& AValue) { FOnSymbolUpdate = AValue; }

  // Called by the automaton.
  void SymbolDelete();
  void SymbolUpdate(Char ASymbol);

 private:
  class TParser;
  void Clear();
  void CheckCompiled() const;
  void AddError(Integer ALine, Integer AChar, const String& AMessage);
  [[noreturn]] void RaiseErrors();

  // Scanner.
  void Scan();
  bool Eof() const { return FIndex >= static_cast<Integer>(FText.size()); }
  Char ReadChar();
  void AddLexem(TcxRegExprLexemCode ACode, const String& AValue, Integer ALine, Integer AChar);
  void AddCharLexem(Char C, Integer ALine, Integer AChar);
  void ScanString();
  void ScanClass();
  void ScanQuantifier();
  void ScanEscape(bool AInClass);
  void AddMissingError(const String& AWhat);

  TOwned<TStringStream> FStream;
  String FText;
  TOwned<TcxRegExprErrors> FErrors;
  TOwned<TcxLexems> FLexems;
  std::vector<TcxRegExprParserBlockItem*> FBlocks;
  // Items that a count replaced; kept until the next compile, because a
  // reference made after the expansion copies the block as it was.
  std::vector<TOwned<TcxRegExprParserItem>> FRetiredItems;
  TOwned<TcxRegExprAutomat> FAutomat;
  Integer FIndex = 0;
  Integer FLexemIndex = 0;
  Integer FLine = 1;
  Integer FChar = 0;
  bool FFirstExpr = true;
  bool FCompiled = false;
  bool FUpdateOn = false;
  bool FCaseInsensitive = false;
  TcxRegExprSymbolDeleteEvent FOnSymbolDelete;
  TcxRegExprSymbolUpdateEvent FOnSymbolUpdate;
};
