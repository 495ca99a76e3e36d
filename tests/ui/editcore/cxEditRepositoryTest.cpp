// Repositories of shared editor properties, the module's repository and the
// default values provider.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Classes.h"
#include "EditcoreTestSupport.h"
#include "cxEdit.h"

namespace {

class TRepoTestProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TRepoTestProperties, TcxCustomEditProperties)
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
};

class TRepoOtherProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TRepoOtherProperties, TcxCustomEditProperties)
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
};

}  // namespace

// An item class named the way the editors' item classes are.
class TcxEditRepositoryTestItem : public TcxEditRepositoryItem {
  DECLARE_CLASS(TcxEditRepositoryTestItem, TcxEditRepositoryItem)
 public:
  using TcxEditRepositoryItem::TcxEditRepositoryItem;
  TRepoTestProperties* GetTestProperties() const {
    return static_cast<TRepoTestProperties*>(GetProperties());
  }
  void SetTestProperties(TRepoTestProperties* Value) { SetProperties(Value); }

 protected:
  TClass GetEditPropertiesClass() override { return TRepoTestProperties::StaticClass(); }
};

namespace {

class TPlainItem : public TcxEditRepositoryItem {
  DECLARE_CLASS(TPlainItem, TcxEditRepositoryItem)
 public:
  using TcxEditRepositoryItem::TcxEditRepositoryItem;
};

// A form root whose DPI is fixed, as a form shown on a 144 DPI screen.
class TDpiRoot : public TComponent, public IdxScaleFactor {
  DECLARE_CLASS(TDpiRoot, TComponent)
 public:
  using TOwnerType = TComponent;
  explicit TDpiRoot(TComponent* AOwner) : TComponent(AOwner) {}
  void AfterConstruction() override {
    inherited::AfterConstruction();
    FScaleFactor->Assign(144, 96, false);
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override {
    if (IsEqualIID(AIID, __uuidof(IdxScaleFactor))) {
      *AObj = static_cast<IdxScaleFactor*>(this);
      return true;
    }
    return inherited::GetInterface(AIID, AObj);
  }
  TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override { return FScaleFactor.get(); }

 private:
  TOwned<TdxScaleFactor> FScaleFactor{MakeOwned<TdxScaleFactor>()};
};

}  // namespace

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TRepoTestProperties) {
  P.Property<&TRepoTestProperties::GetButtons, &TRepoTestProperties::SetButtons>(L"Buttons");
}
IMPLEMENT_CREATABLE_CLASS(TRepoOtherProperties)
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxEditRepositoryTestItem) {
  using I = TcxEditRepositoryTestItem;
  P.Property<&I::GetTestProperties, &I::SetTestProperties>(L"Properties");
}
IMPLEMENT_CREATABLE_CLASS(TPlainItem)
IMPLEMENT_CREATABLE_CLASS(TDpiRoot)

namespace {

// Records what a listener hears, in one log shared by several listeners.
class TRecordingListener : public IcxEditRepositoryItemListener {
 public:
  TRecordingListener(std::vector<std::string>& ALog, const char* AName, bool ALeaves = true)
      : FLog(ALog), FName(AName), FLeaves(ALeaves) {}
  void ItemRemoved(TcxEditRepositoryItem* Sender) override {
    FLog.push_back(std::string(FName) + " removed");
    if (FLeaves) Sender->RemoveListener(this);
  }
  void PropertiesChanged(TcxEditRepositoryItem*) override {
    FLog.push_back(std::string(FName) + " changed");
  }

 private:
  std::vector<std::string>& FLog;
  const char* FName;
  bool FLeaves;
};

TOwned<TcxEditRepository> NewRepository() {
  return TOwned<TcxEditRepository>(Create<TcxEditRepository>(nullptr));
}

// Watches a component's end.
class TFreeWatch : public TComponent {
  DECLARE_CLASS_INLINE(TFreeWatch, TComponent)
 public:
  using TComponent::TComponent;
  bool Freed = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove) Freed = true;
  }
};

}  // namespace

// ---------------------------------------------------------------------------
// Items and their listeners

TEST(EditRepository, AnItemCreatedByTheRepositoryIsOwnedListedAndClearedByIt) {
  TOwned<TcxEditRepository> R = NewRepository();
  TcxEditRepositoryItem* Item = R->CreateItem(TcxEditRepositoryTestItem::StaticClass());
  EXPECT_EQ(Item->Owner(), R.get());
  EXPECT_EQ(Item->GetRepository(), R.get());
  ASSERT_EQ(R->Count(), 1);
  EXPECT_EQ(R->Items(0), Item);
  EXPECT_TRUE(Item->HasParent());
  EXPECT_EQ(Item->GetParentComponent(), R.get());
  EXPECT_TRUE(Item->GetProperties()->InheritsFrom(TRepoTestProperties::StaticClass()));
  TOwned<TFreeWatch> Watch(Create<TFreeWatch>(nullptr));
  Item->FreeNotification(Watch.get());
  R->Clear();
  EXPECT_TRUE(Watch->Freed);
  EXPECT_EQ(R->Count(), 0);
  EXPECT_EQ(R->ComponentCount(), 0);
  EXPECT_THROW(R->Items(0), EListError);
}

TEST(EditRepository, ItemsOwnedElsewhereLeaveTheRepositoryWhenFreed) {
  TOwned<TcxEditRepository> R = NewRepository();
  TOwned<TComponent> Form(Create<TComponent>(nullptr));
  TcxEditRepositoryItem* A = R->CreateItemEx(TPlainItem::StaticClass(), Form.get());
  TcxEditRepositoryItem* B = R->CreateItemEx(TPlainItem::StaticClass(), Form.get());
  EXPECT_EQ(A->Owner(), Form.get());
  EXPECT_EQ(R->Count(), 2);
  A->Free();
  ASSERT_EQ(R->Count(), 1);
  EXPECT_EQ(R->Items(0), B);
  // Freeing the repository frees the items it lists, whoever owns them.
  R.reset();
  EXPECT_EQ(Form->ComponentCount(), 0);
}

TEST(EditRepository, ItemByNameIgnoresLetterCase) {
  TOwned<TcxEditRepository> R = NewRepository();
  R->CreateItem(TPlainItem::StaticClass())->SetName(L"First");
  TcxEditRepositoryItem* Item = R->CreateItem(TPlainItem::StaticClass());
  Item->SetName(L"ComboItem");
  EXPECT_EQ(R->ItemByName(L"comboitem"), Item);
  EXPECT_EQ(R->ItemByName(L"COMBOITEM"), Item);
  EXPECT_EQ(R->ItemByName(L"Combo"), nullptr);
  EXPECT_EQ(R->ItemByName(L""), nullptr);
}

TEST(EditRepository, AnItemMovesBetweenRepositoriesAndFollowsTheScaleOfItsRepository) {
  TOwned<TcxEditRepository> R1 = NewRepository();
  TOwned<TcxEditRepository> R2 = NewRepository();
  TcxEditRepositoryItem* Item = R1->CreateItem(TcxEditRepositoryTestItem::StaticClass());
  Item->SetRepository(R2.get());
  EXPECT_EQ(R1->Count(), 0);
  ASSERT_EQ(R2->Count(), 1);
  EXPECT_EQ(As<TdxOwnedScaleFactor>(Item->GetScaleFactor())->Owner(), R2->ScaleFactor());
  TcxEditButton* B =
      static_cast<TcxEditRepositoryTestItem*>(Item)->GetTestProperties()->GetButtons()->Add();
  B->SetWidth(20);
  R2->ChangeScale(3, 2);
  EXPECT_EQ(B->GetWidth(), 30);
  R1->ChangeScale(2, 1);  // the old repository's scale no longer reaches it
  EXPECT_EQ(B->GetWidth(), 30);
  Item->SetRepository(nullptr);
  EXPECT_EQ(R2->Count(), 0);
  EXPECT_EQ(As<TdxOwnedScaleFactor>(Item->GetScaleFactor())->Owner(), nullptr);
  EXPECT_FALSE(Item->HasParent());
}

TEST(EditRepository, DestroyingAnItemTellsEveryListenerLastFirstEvenThoseThatStay) {
  std::vector<std::string> Log;
  TRecordingListener First(Log, "first"), Stays(Log, "stays", false), Last(Log, "last");
  TOwned<TcxEditRepository> R = NewRepository();
  TcxEditRepositoryItem* Item = R->CreateItem(TPlainItem::StaticClass());
  Item->AddListener(&First);
  Item->AddListener(&Stays);
  Item->AddListener(&Stays);  // kept once
  Item->AddListener(&Last);
  EXPECT_EQ(Item->ListenerCount(), 3);
  Item->Free();
  EXPECT_EQ(Log, (std::vector<std::string>{"last removed", "stays removed", "first removed"}));
}

TEST(EditRepository, PropertiesChangesReachTheListenersLastFirst) {
  std::vector<std::string> Log;
  TRecordingListener A(Log, "a"), B(Log, "b");
  TOwned<TcxEditRepository> R = NewRepository();
  TcxEditRepositoryItem* Item = R->CreateItem(TPlainItem::StaticClass());
  Item->AddListener(&A);
  Item->AddListener(&B);
  Item->GetProperties()->SetAutoSelect(false);
  EXPECT_EQ(Log, (std::vector<std::string>{"b changed", "a changed"}));
  Item->RemoveListener(&B);
  Log.clear();
  Item->GetProperties()->SetAutoSelect(true);
  EXPECT_EQ(Log, (std::vector<std::string>{"a changed"}));
  Item->RemoveListener(&A);
}

TEST(EditRepository, ItemPropertiesTakeValuesAndKnowTheirClass) {
  TOwned<TcxEditRepository> R = NewRepository();
  auto* Item = static_cast<TcxEditRepositoryTestItem*>(
      R->CreateItem(TcxEditRepositoryTestItem::StaticClass()));
  TOwned<TRepoTestProperties> Source(Create<TRepoTestProperties>(nullptr));
  Source->SetAutoSelect(false);
  Source->GetButtons()->Add()->SetKind(bkEllipsis);
  Item->SetProperties(Source.get());
  EXPECT_FALSE(Item->GetProperties()->GetAutoSelect());
  EXPECT_EQ(Item->GetTestProperties()->GetButtons()->Count(), 1);
  EXPECT_NE(Item->GetProperties(), Source.get());
  EXPECT_TRUE(Item->ArePropertiesCompatible(TcxCustomEditProperties::StaticClass()));
  EXPECT_TRUE(Item->ArePropertiesCompatible(TRepoTestProperties::StaticClass()));
  EXPECT_FALSE(Item->ArePropertiesCompatible(TRepoOtherProperties::StaticClass()));
  TcxEditRepositoryItem* Plain = R->CreateItem(TPlainItem::StaticClass());
  EXPECT_EQ(Plain->GetProperties()->ClassType(), TcxCustomEditProperties::StaticClass());
}

TEST(EditRepository, TheBaseNameIsTheRepositorysNameAndTheItemsKind) {
  TOwned<TcxEditRepository> R = NewRepository();
  R->SetName(L"Repo");
  EXPECT_EQ(R->CreateItem(TcxEditRepositoryTestItem::StaticClass())->GetBaseName(),
            L"RepoTestItem");
  EXPECT_EQ(R->CreateItem(TPlainItem::StaticClass())->GetBaseName(), L"Repo");
  TOwned<TcxEditRepositoryItem> Loose(Create<TcxEditRepositoryTestItem>(nullptr));
  EXPECT_EQ(Loose->GetBaseName(), L"TestItem");
}

TEST(EditRepository, SetParentComponentJoinsTheRepositoryOutsideLoading) {
  TOwned<TcxEditRepository> R = NewRepository();
  TOwned<TcxEditRepositoryItem> Item(Create<TPlainItem>(nullptr));
  Item->SetParentComponent(R.get());
  EXPECT_EQ(Item->GetRepository(), R.get());
  Item->SetParentComponent(nullptr);
  EXPECT_EQ(R->Count(), 0);
}

// ---------------------------------------------------------------------------
// Form resources

TEST(EditRepositoryResources, ItemsAreStreamedInsideTheirRepositoryAndRescaledAt144Dpi) {
  RegisterClasses({TDpiRoot::StaticClass(), TcxEditRepository::StaticClass(),
                   TcxEditRepositoryTestItem::StaticClass()});
  // Written on a 96 DPI screen, read into a form on a 144 DPI one.
  const std::string Text =
      "object Root: TDpiRoot\n"
      "  object Repo: TcxEditRepository\n"
      "    PixelsPerInch = 96\n"
      "    object Item: TcxEditRepositoryTestItem\n"
      "      Properties.Buttons = <\n"
      "        item\n"
      "          Kind = bkEllipsis\n"
      "          Width = 20\n"
      "        end\n"
      "        item\n"
      "        end>\n"
      "    end\n"
      "  end\n"
      "end\n";
  TOwned<TDpiRoot> Root = ReadFormResourceText<TDpiRoot>(Text);
  auto* Repo = As<TcxEditRepository>(Root->FindComponent(L"Repo"));
  ASSERT_EQ(Repo->Count(), 1);
  auto* Item = As<TcxEditRepositoryTestItem>(Repo->Items(0));
  EXPECT_EQ(Item->Owner(), Root.get());
  EXPECT_EQ(Repo->ItemByName(L"item"), Item);
  TcxEditButtons* Bs = Item->GetTestProperties()->GetButtons();
  ASSERT_EQ(Bs->Count(), 2);
  EXPECT_EQ(Bs->Items(0)->GetKind(), bkEllipsis);
  EXPECT_EQ(Bs->Items(0)->GetWidth(), 30);
  EXPECT_EQ(Bs->Items(1)->GetWidth(), 0);
  EXPECT_EQ(Repo->PixelsPerInch(), 144);
  // Written again it says what it now is, and reads back unchanged.
  const std::string Written = FormResourceText(Root.get());
  EXPECT_NE(Written.find("PixelsPerInch = 144\n"), std::string::npos) << Written;
  EXPECT_NE(Written.find("Width = 30\n"), std::string::npos) << Written;
  TOwned<TDpiRoot> Again = ReadFormResourceText<TDpiRoot>(Written);
  EXPECT_EQ(FormResourceText(Again.get()), Written);
}

// ---------------------------------------------------------------------------
// The module's repository

TEST(EditRepositoryModule, TheDefaultRepositoryLivesUntilShutDown) {
  TcxEditRepository* R = DefaultEditRepository();
  ASSERT_NE(R, nullptr);
  EXPECT_EQ(DefaultEditRepository(), R);
  TOwned<TFreeWatch> Watch(Create<TFreeWatch>(nullptr));
  R->FreeNotification(Watch.get());
  cxEdit_Finalize();
  EXPECT_TRUE(Watch->Freed);
  EXPECT_EQ(DefaultEditRepository(), nullptr);
  cxEdit_Initialize();
  EXPECT_NE(DefaultEditRepository(), nullptr);
}

// ---------------------------------------------------------------------------
// The default values provider

TEST(EditDefaultValuesProvider, TheBaseProviderAnswersTheNeutralDefaults) {
  TOwned<TcxCustomEditDefaultValuesProvider> D(Create<TcxCustomEditDefaultValuesProvider>(nullptr));
  EXPECT_TRUE(D->CanSetEditMode());
  EXPECT_EQ(D->DefaultAlignment(), taLeftJustify);
  EXPECT_EQ(D->DefaultBlobKind(), bkMemo);
  EXPECT_TRUE(D->DefaultCanModify());
  EXPECT_EQ(D->DefaultDisplayFormat(), L"");
  EXPECT_EQ(D->DefaultEditFormat(), L"");
  EXPECT_EQ(D->DefaultEditMask(), L"");
  EXPECT_FALSE(D->DefaultIsFloatValue());
  EXPECT_EQ(D->DefaultMaxLength(), 0);
  EXPECT_EQ(D->DefaultMaxValue(), 0);
  EXPECT_EQ(D->DefaultMinValue(), 0);
  EXPECT_EQ(D->DefaultPrecision(), 15);
  EXPECT_FALSE(D->DefaultReadOnly());
  EXPECT_FALSE(D->DefaultRequired());
  EXPECT_FALSE(D->IsBlob());
  EXPECT_FALSE(D->IsCurrency());
  EXPECT_TRUE(D->IsDataAvailable());
  EXPECT_FALSE(D->IsDataStorage());
  EXPECT_FALSE(D->IsDisplayFormatDefined(true));
  EXPECT_FALSE(D->IsOnGetTextAssigned());
  EXPECT_FALSE(D->IsOnSetTextAssigned());
  EXPECT_TRUE(D->IsValidChar(L'x'));
  EXPECT_EQ(D->GetInstance(), D.get());
}

TEST(EditDefaultValuesProvider, FreeingAProviderMakesItsUsersDropIt) {
  TOwned<TcxCustomEditDefaultValuesProvider> Gone(
      Create<TcxCustomEditDefaultValuesProvider>(nullptr));
  TOwned<TcxCustomEditDefaultValuesProvider> Kept(
      Create<TcxCustomEditDefaultValuesProvider>(nullptr));
  TOwned<TRepoTestProperties> A(Create<TRepoTestProperties>(nullptr));
  TOwned<TRepoTestProperties> B(Create<TRepoTestProperties>(nullptr));
  TOwned<TRepoTestProperties> C(Create<TRepoTestProperties>(nullptr));
  A->SetIDefaultValuesProvider(Gone.get());
  B->SetIDefaultValuesProvider(Gone.get());
  C->SetIDefaultValuesProvider(Kept.get());
  Gone.reset();
  EXPECT_EQ(A->GetIDefaultValuesProvider(), nullptr);
  EXPECT_EQ(B->GetIDefaultValuesProvider(), nullptr);
  EXPECT_EQ(C->GetIDefaultValuesProvider(), Kept.get());
  // Properties without a provider read the plain defaults.
  EXPECT_FALSE(A->GetReadOnly());
  EXPECT_TRUE(A->CanModify());
}
