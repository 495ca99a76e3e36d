// Filter edit helpers: per editor properties class, which editor edits a
// filter value for a column of that editor, which filter operators make
// sense and how a value is checked. Each editor module registers its helper
// for its properties class with the process-wide registry; a lookup walks up
// the class tree, so an editor without a helper of its own uses the helper of
// its nearest registered ancestor.
//
// Helpers have no state: each helper class is one constant object whose
// virtual operations are the class's operations, and a
// TcxFilterEditHelperClass is the address of that object.
#pragma once

#include "cxClasses.h"
#include "cxDataStorage.h"

enum TcxFilterControlOperator {
  fcoNone,
  fcoEqual,
  fcoNotEqual,
  fcoLess,
  fcoLessEqual,
  fcoGreater,
  fcoGreaterEqual,
  fcoLike,
  fcoNotLike,
  fcoContains,
  fcoNotContains,
  fcoBeginsWith,
  fcoEndsWith,
  fcoBlanks,
  fcoNonBlanks,
  fcoBetween,
  fcoNotBetween,
  fcoInList,
  fcoNotInList,
  fcoYesterday,
  fcoToday,
  fcoTomorrow,
  fcoLast7Days,
  fcoLastWeek,
  fcoLast14Days,
  fcoLastTwoWeeks,
  fcoLast30Days,
  fcoLastMonth,
  fcoLastYear,
  fcoInPast,
  fcoThisWeek,
  fcoThisMonth,
  fcoThisYear,
  fcoNext7Days,
  fcoNextWeek,
  fcoNext14Days,
  fcoNextTwoWeeks,
  fcoNext30Days,
  fcoNextMonth,
  fcoNextYear,
  fcoInFuture
};
using TcxFilterControlOperators = TSet<TcxFilterControlOperator, fcoInFuture + 1>;

// Declared by the editor framework; a helper only passes them on.
class TcxCustomEditProperties;
class TcxCustomEdit;
class TcxInplaceEditList;

class TcxCustomFilterEditHelper;
using TcxFilterEditHelperClass = const TcxCustomFilterEditHelper*;

class TcxCustomFilterEditHelper : public TObject {
  DECLARE_CLASS(TcxCustomFilterEditHelper, TObject)
 public:
  virtual bool IsIDefaultValuesProviderNeeded(TcxCustomEditProperties* AEditProperties) const {
    return true;
  }
  virtual bool EditPropertiesHasButtons() const { return false; }
  // The class of the editor that edits a filter value; none here.
  virtual TClass GetFilterEditClass() const { return nullptr; }
  // The comparisons, blanks and non-blanks, the range and list operators in
  // the extended set, and the text operators only for a string value type.
  virtual TcxFilterControlOperators GetSupportedFilterOperators(
      TcxCustomEditProperties* AProperties, TcxValueTypeClass AValueTypeClass,
      bool AExtendedSet) const;
  // The value type's own test, which may convert AValue in place; without a
  // value type there is nothing to hold the value against, and it is kept.
  virtual bool IsValueValid(TcxValueTypeClass AValueTypeClass, Variant& AValue) const;
  virtual bool UseDisplayValue() const { return false; }

  // --- The editor of a filter value (cxFilterControlUtils_Edit.cpp).
  // Clears the events a column's handlers would hear from the filter editor.
  virtual void ClearPropertiesEvents(TcxCustomEditProperties* AProperties) const;
  virtual void InitializeEdit(TcxCustomEdit* AEdit, TcxCustomEditProperties* AEditProperties) const;
  // The column's settings, left-aligned and vertically centred, without
  // beeps, read-only state, buttons (unless asked) or the column's events.
  virtual void InitializeProperties(TcxCustomEditProperties* AProperties,
                                    TcxCustomEditProperties* AEditProperties,
                                    bool AHasButtons) const;
  // The editor's value and its display text (the value's text when the
  // properties give none).
  virtual void GetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AEditProperties,
                              Variant& V, String& S) const;
  virtual void SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties* AEditProperties,
                              const Variant& AValue) const {}
  // A ready filter editor for a column's properties: without an in-place
  // list a new editor of GetFilterEditClass that the caller owns; with one,
  // the list's shared editor of that class. Raises EcxEditError when the
  // helper names no editor class.
  TcxCustomEdit* GetFilterEdit(TcxCustomEditProperties* AEditProperties,
                               TcxInplaceEditList* AInplaceEditList = nullptr) const;
};

// The one constant object of a helper class.
template <class T>
TcxFilterEditHelperClass cxFilterEditHelperClass() {
  static const T Instance;
  return &Instance;
}

// Pairs of (properties class, helper). The last unregistration frees the
// registry: the next FilterEditsController call starts a new, empty one.
class TcxFilterEditsController : public TcxRegisteredClassList {
  DECLARE_CLASS(TcxFilterEditsController, TcxRegisteredClassList)
 public:
  // AHelper may be nullptr: the class then takes its ancestors' helper.
  void Register(TClass APropertiesClass, TcxFilterEditHelperClass AHelper);
  void Unregister(TClass APropertiesClass, TcxFilterEditHelperClass AHelper);
  void Unregister(TClass AItemClass, TClass ARegisteredClass) override;
  // The helper of the class or of its nearest ancestor that has one; nullptr
  // for nullptr and for a class without a helper up to the root.
  TcxFilterEditHelperClass FindHelper(TClass APropertiesClass) const;

 private:
  TcxFilterEditHelperClass HelperOf(TClass AHelperClass) const;
  std::vector<TcxFilterEditHelperClass> FHelpers;
};

// The process-wide registry, created on first call; nullptr once the
// module's shut-down has begun.
TcxFilterEditsController* FilterEditsController();

void cxFilterControlUtils_Initialize();
// Frees what the editor modules left registered.
void cxFilterControlUtils_Finalize();
