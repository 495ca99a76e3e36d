#include <algorithm>
#include <cmath>
#include <cstring>

#include "Classes.h"
#include "WinHandles.h"

namespace {

bool IsAscii(const String& S) {
  return std::all_of(S.begin(), S.end(), [](wchar_t C) { return C < 0x80; });
}

bool HasLoneSurrogate(const String& S) {
  for (size_t I = 0; I < S.size(); ++I) {
    wchar_t C = S[I];
    if (C >= 0xD800 && C <= 0xDBFF && I + 1 < S.size() && S[I + 1] >= 0xDC00 && S[I + 1] <= 0xDFFF)
      ++I;
    else if (C >= 0xD800 && C <= 0xDFFF)
      return true;
  }
  return false;
}

constexpr char Signature[4] = {'T', 'P', 'F', '0'};
const wchar_t* const SInvalidPropertyValue = L"Invalid property value";

}  // namespace

namespace {
class TCreatedComponents : public TComponent {
  DECLARE_CLASS(TCreatedComponents, TComponent)
 public:
  using TComponent::TComponent;
  void Add(TComponent* C) {
    Items.push_back(C);
    C->FreeNotification(this);
  }
  void Release() {
    while (!Items.empty()) {
      TComponent* C = Items.back();
      Items.pop_back();
      C->RemoveFreeNotification(this);
    }
  }
  // Last first; freeing one may free others, which then drop out of Items.
  void FreeAll() {
    while (!Items.empty()) {
      TComponent* C = Items.back();
      Items.pop_back();
      C->RemoveFreeNotification(this);
      C->Free();
    }
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove)
      Items.erase(std::remove(Items.begin(), Items.end(), AComponent), Items.end());
  }

 private:
  std::vector<TComponent*> Items;
};
IMPLEMENT_CLASS(TCreatedComponents)
}  // namespace

IMPLEMENT_CLASS(TFiler)
IMPLEMENT_CLASS(TReader)
IMPLEMENT_CLASS(TWriter)

// ---------------------------------------------------------------------------
// Reader primitives. Every count read from the stream is checked against what
// is left of it before anything is allocated or read, so a damaged stream
// fails cleanly instead of reading past its data.

void TReader::FormatError() {
  String Msg = L"Invalid stream format";
  if (FPropDepth == 0) Msg += L" at offset " + IntToStr(FStream->Position());
  throw EReadError(Msg);
}

void TReader::PropValueError() { throw EReadError(SInvalidPropertyValue); }

void TReader::Read(void* Buffer, Integer Count) {
  if (Count <= 0) return;
  Int64 At = FStream->Position();
  if (FStream->Read(Buffer, Count) != Count) {
    String Msg = L"Stream read error";
    if (FPropDepth == 0) Msg += L" at offset " + IntToStr(At);
    throw EReadError(Msg);
  }
}

void TReader::CheckAvailable(Int64 Count) {
  if (Count < 0 || Count > FStream->Size() - FStream->Position()) {
    String Msg = L"Stream read error";
    if (FPropDepth == 0) Msg += L" at offset " + IntToStr(FStream->Position());
    throw EReadError(Msg);
  }
}

Int64 TReader::ReadCount() {
  int32_t N = 0;
  Read(&N, sizeof N);
  CheckAvailable(N);
  return N;
}

TValueType TReader::ReadValue() {
  Byte B = 0;
  Read(&B, 1);
  if (B > vaDouble) FormatError();
  return static_cast<TValueType>(B);
}

TValueType TReader::NextValue() {
  TValueType V = ReadValue();
  FStream->Seek(-1, soCurrent);
  return V;
}

bool TReader::EndOfList() {
  Byte B = 0;
  Read(&B, 1);
  FStream->Seek(-1, soCurrent);
  return B == vaNull;
}

void TReader::CheckValue(TValueType Value) {
  if (ReadValue() != Value) {
    FStream->Seek(-1, soCurrent);
    PropValueError();
  }
}

void TReader::ReadSignature() {
  char Sig[4] = {};
  CheckAvailable(4);
  Read(Sig, 4);
  if (std::memcmp(Sig, Signature, 4) != 0) {
    FStream->Seek(-4, soCurrent);
    FormatError();
  }
}

void TReader::ReadPrefix(TFilerFlags& Flags, Integer& AChildPos) {
  Flags = TFilerFlags();
  AChildPos = 0;
  Byte B = 0;
  Read(&B, 1);
  if ((B & 0xF0) != 0xF0) {
    FStream->Seek(-1, soCurrent);
    return;
  }
  Flags = TFilerFlags::FromBits(B & 0x0F);
  if (Flags.Contains(ffChildPos)) AChildPos = ReadInteger();
}

bool TReader::ReadBoolean() {
  TValueType V = ReadValue();
  if (V == vaTrue) return true;
  if (V == vaFalse) return false;
  FStream->Seek(-1, soCurrent);
  PropValueError();
}

Integer TReader::ReadInteger() {
  switch (ReadValue()) {
    case vaInt8: {
      int8_t V;
      Read(&V, 1);
      return V;
    }
    case vaInt16: {
      int16_t V;
      Read(&V, 2);
      return V;
    }
    case vaInt32: {
      int32_t V;
      Read(&V, 4);
      return V;
    }
    default:
      FStream->Seek(-1, soCurrent);
      PropValueError();
  }
}

Int64 TReader::ReadInt64() {
  if (NextValue() != vaInt64) return ReadInteger();
  ReadValue();
  Int64 V;
  Read(&V, 8);
  return V;
}

Extended TReader::ReadFloat() {
  switch (ReadValue()) {
    case vaExtended: {
      // The 10 bytes of an x87 extended value.
      Byte Raw[10];
      Read(Raw, 10);
      Extended V = 0;
      static_assert(sizeof(Extended) >= 10, "Extended is the 80-bit type");
      std::memcpy(&V, Raw, 10);
      return V;
    }
    case vaDouble:
    case vaDate: {
      Double V;
      Read(&V, 8);
      return V;
    }
    case vaSingle: {
      Single V;
      Read(&V, 4);
      return V;
    }
    case vaCurrency: {
      Int64 V;
      Read(&V, 8);
      return static_cast<Extended>(V) / 10000;
    }
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      FStream->Seek(-1, soCurrent);
      return static_cast<Extended>(ReadInt64());
    default:
      FStream->Seek(-1, soCurrent);
      PropValueError();
  }
}

Single TReader::ReadSingle() {
  if (NextValue() != vaSingle) return static_cast<Single>(ReadFloat());
  ReadValue();
  Single V;
  Read(&V, 4);
  return V;
}

Double TReader::ReadDouble() {
  if (NextValue() != vaDouble) return static_cast<Double>(ReadFloat());
  ReadValue();
  Double V;
  Read(&V, 8);
  return V;
}

Int64 TReader::ReadCurrency() {
  if (NextValue() != vaCurrency) return std::llround(ReadFloat() * 10000);
  ReadValue();
  Int64 V;
  Read(&V, 8);
  return V;
}

TDateTime TReader::ReadDate() {
  if (NextValue() != vaDate) return static_cast<TDateTime>(ReadFloat());
  ReadValue();
  Double V;
  Read(&V, 8);
  return V;
}

String TReader::ReadStr() {
  Byte L = 0;
  Read(&L, 1);
  CheckAvailable(L);
  std::string S(L, '\0');
  Read(S.data(), L);
  return UTF8Decode(S);
}

String TReader::ReadString() {
  TValueType V = ReadValue();
  switch (V) {
    case vaString: {
      Byte L = 0;
      Read(&L, 1);
      CheckAvailable(L);
      std::string S(L, '\0');
      Read(S.data(), L);
      return AnsiToString(S);
    }
    case vaLString:
    case vaUTF8String: {
      Int64 L = ReadCount();
      std::string S(static_cast<size_t>(L), '\0');
      Read(S.data(), static_cast<Integer>(L));
      return V == vaLString ? AnsiToString(S) : UTF8Decode(S);
    }
    case vaWString: {
      int32_t N = 0;
      Read(&N, 4);
      if (N < 0) FormatError();
      CheckAvailable(static_cast<Int64>(N) * 2);
      String S(static_cast<size_t>(N), L'\0');
      Read(S.data(), N * 2);
      return S;
    }
    default:
      FStream->Seek(-1, soCurrent);
      PropValueError();
  }
}

String TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent:
      return ReadStr();
    case vaFalse:
      return L"False";
    case vaTrue:
      return L"True";
    case vaNil:
      return L"nil";
    case vaNull:
      return L"Null";
    default:
      FStream->Seek(-1, soCurrent);
      PropValueError();
  }
}

UInt64 TReader::ReadSet(const TEnumInfo& Info) {
  CheckValue(vaSet);
  UInt64 Bits = 0;
  for (;;) {
    String Name = ReadStr();
    if (Name.empty()) break;
    Integer V = GetEnumValue(Info, Name);
    if (V < 0 || V >= 64) PropValueError();
    Bits |= UInt64(1) << V;
  }
  return Bits;
}

TBytes TReader::ReadBinary() {
  CheckValue(vaBinary);
  Int64 N = ReadCount();
  TBytes Data(static_cast<size_t>(N), 0);
  Read(Data.data(), static_cast<Integer>(N));
  return Data;
}

class TReader::TNesting {
 public:
  explicit TNesting(TReader& AReader) : FReader(AReader) {
    if (++FReader.FNesting > MaxNesting) {
      --FReader.FNesting;
      FReader.FormatError();
    }
  }
  ~TNesting() { --FReader.FNesting; }
  TNesting(const TNesting&) = delete;
  TNesting& operator=(const TNesting&) = delete;

 private:
  TReader& FReader;
};

void TReader::SkipValue() {
  TNesting Guard(*this);
  switch (NextValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
      ReadValue();
      break;
    case vaList:
      ReadValue();
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      break;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      ReadInt64();
      break;
    case vaExtended:
    case vaDouble:
    case vaSingle:
    case vaCurrency:
    case vaDate:
      ReadFloat();
      break;
    case vaString:
    case vaLString:
    case vaWString:
    case vaUTF8String:
      ReadString();
      break;
    case vaIdent:
      ReadIdent();
      break;
    case vaBinary:
      ReadBinary();
      break;
    case vaSet:
      ReadValue();
      while (!ReadStr().empty()) {
      }
      break;
    case vaCollection:
      ReadValue();
      while (!EndOfList()) {
        TValueType V = NextValue();
        if (V == vaInt8 || V == vaInt16 || V == vaInt32) ReadInteger();
        ReadListBegin();
        while (!EndOfList()) {
          ReadStr();
          SkipValue();
        }
        ReadListEnd();
      }
      ReadListEnd();
      break;
  }
}

// ---------------------------------------------------------------------------
// Reading components and properties.

String TReader::CurrentName() const {
  if (!FCurrent) return String();
  return FCurrent->Name().empty() ? FCurrent->ClassName() : FCurrent->Name();
}

void TReader::DefineProperty(const String& Name, TReaderProc ReadData, TWriterProc, bool) {
  if (!FPropName.empty() && ReadData && SameText(Name, FPropName)) {
    FPropName.clear();
    ReadData(this);
  }
}

void TReader::DefineBinaryProperty(const String& Name, TStreamProc ReadData, TStreamProc, bool) {
  if (FPropName.empty() || !ReadData || !SameText(Name, FPropName)) return;
  FPropName.clear();
  TBytes Data = ReadBinary();
  TOwned<TMemoryStream> Mem = MakeOwned<TMemoryStream>();
  if (!Data.empty()) Mem->WriteBuffer(Data.data(), static_cast<Integer>(Data.size()));
  Mem->SetPosition(0);
  ReadData(Mem.get());
}

void TReader::ReadProperty(TPersistent* AInstance) {
  String Name = ReadStr();
  String SavedPath = FPropPath;
  ++FPropDepth;
  // A failure leaves no pending name behind, and the path is the caller's
  // again on every path.
  auto Restore = Finally([&] {
    --FPropDepth;
    FPropName.clear();
    FPropPath = SavedPath;
  });
  try {
    TPersistent* Instance = AInstance;
    size_t Start = 0;
    for (size_t Dot; (Dot = Name.find(L'.', Start)) != String::npos; Start = Dot + 1) {
      const TPropInfo* P = GetPropInfo(Instance, Name.substr(Start, Dot - Start));
      TPersistent* Next = nullptr;
      if (P && P->Kind == tkClass) Next = AsOrNull<TPersistent>(P->GetObj(Instance));
      if (!Next)
        throw EReadError(Format(L"Property %s does not exist", {Name.substr(Start, Dot - Start)}));
      Instance = Next;
    }
    String Last = Name.substr(Start);
    FPropPath = Name;
    if (const TPropInfo* P = GetPropInfo(Instance, Last)) {
      ReadPropValue(Instance, P);
    } else {
      FPropName = Last;
      Instance->DefineProperties(this);
      if (!FPropName.empty()) {
        FPropName.clear();
        throw EReadError(Format(L"Property %s does not exist", {Last}));
      }
    }
  } catch (Exception& E) {
    // Name the property once, at the outermost level.
    if (FPropDepth == 1)
      E.RaiseNew(Format(L"Error reading %s.%s: %s", {CurrentName(), Name, E.Message()}));
    throw;
  }
}

void TReader::ReadPropValue(TPersistent* Instance, const TPropInfo* Prop) {
  if (Prop->Kind != tkClass && !Prop->Writable()) PropValueError();
  switch (Prop->Kind) {
    case tkInteger:
    case tkInt64: {
      if (NextValue() == vaIdent) {
        Integer V = 0;
        if (!Prop->IdentToInt || !Prop->IdentToInt(ReadIdent(), V)) PropValueError();
        Prop->SetOrd(Instance, V);
      } else {
        Int64 V = ReadInt64();
        if (Prop->Kind == tkInteger && (V < INT32_MIN || V > UINT32_MAX)) PropValueError();
        Prop->SetOrd(Instance, V);
      }
      break;
    }
    case tkEnumeration: {
      Integer V = GetEnumValue(*Prop->EnumType, ReadIdent());
      if (V < 0) PropValueError();
      Prop->SetOrd(Instance, V);
      break;
    }
    case tkSet:
      Prop->SetOrd(Instance, static_cast<Int64>(ReadSet(*Prop->EnumType)));
      break;
    case tkFloat:
      if (Prop->IsDate)
        Prop->SetFloat(Instance, ReadDate());
      else if (Prop->FloatType == ftSingle)
        Prop->SetFloat(Instance, ReadSingle());
      else
        Prop->SetFloat(Instance, ReadFloat());
      break;
    case tkString:
      Prop->SetStr(Instance, ReadString());
      break;
    case tkClass:
      ReadClassProp(Instance, Prop);
      break;
    case tkMethod: {
      if (NextValue() == vaNil) {
        ReadValue();
        Prop->SetMethod(Instance, TMethod{});
        break;
      }
      String MethodName = ReadIdent();
      const TMethodEntry* M = FRoot ? FindMethodEntry(FRoot->ClassType(), MethodName) : nullptr;
      // A method of another signature would be called with the wrong
      // arguments; refuse it like a missing one.
      if (!M || M->Signature != Prop->Signature) PropValueError();
      Prop->SetMethod(Instance, TMethod{M->Code, FRoot});
      break;
    }
    default:
      PropValueError();
  }
}

void TReader::ReadClassProp(TPersistent* Instance, const TPropInfo* Prop) {
  switch (NextValue()) {
    case vaNil:
      ReadValue();
      if (!Prop->SetObj) PropValueError();
      Prop->SetObj(Instance, nullptr);
      break;
    case vaCollection: {
      auto* Collection = AsOrNull<TCollection>(Prop->GetObj(Instance));
      if (!Collection) PropValueError();
      ReadValue();
      ReadCollection(Collection);
      break;
    }
    case vaIdent:
      if (!Prop->SetObj || !Prop->PropClass->InheritsFrom(TComponent::StaticClass()))
        PropValueError();
      FFixups.push_back(TFixup{FCurrent, Instance, Prop, ReadIdent(), FPropPath});
      break;
    default:
      PropValueError();
  }
}

void TReader::ReadCollection(TCollection* Collection) {
  TNesting Guard(*this);
  auto Updating = UpdateScope(Collection);
  if (!EndOfList()) Collection->Clear();
  while (!EndOfList()) {
    TValueType V = NextValue();
    if (V == vaInt8 || V == vaInt16 || V == vaInt32) ReadInteger();
    TCollectionItem* Item = Collection->Add();
    ReadListBegin();
    while (!EndOfList()) ReadProperty(Item);
    ReadListEnd();
  }
  ReadListEnd();
}

void TReader::ReadData(TComponent* Instance) {
  TComponent* SavedCurrent = FCurrent;
  FCurrent = Instance;
  {
    auto RestoreCurrent = Finally([&] { FCurrent = SavedCurrent; });
    while (!EndOfList()) ReadProperty(Instance);
    ReadListEnd();
  }
  TComponent* SavedParent = FParent;
  TComponent* SavedOwner = FOwner;
  FParent = Instance->GetChildParent();
  FOwner = Instance->GetChildOwner();
  if (!FOwner) FOwner = FRoot;
  auto RestoreParent = Finally([&] {
    FParent = SavedParent;
    FOwner = SavedOwner;
  });
  while (!EndOfList()) ReadComponent(nullptr);
  ReadListEnd();
}

void TReader::Forget(TComponent* Component) {
  FLoaded.erase(std::remove(FLoaded.begin(), FLoaded.end(), Component), FLoaded.end());
  FFixups.erase(std::remove_if(FFixups.begin(), FFixups.end(),
                               [&](const TFixup& F) { return F.Component == Component; }),
                FFixups.end());
}

TComponent* TReader::ReadComponent(TComponent* Component) {
  TNesting Guard(*this);
  bool TopLevel = FComponentDepth == 0;
  TFilerFlags Flags;
  Integer ChildPos = 0;
  ReadPrefix(Flags, ChildPos);
  String ClassName = ReadStr();
  String CompName = ReadStr();
  TComponent* Result = Component;
  bool Created = false;
  if (!Result) {
    if (Flags.Contains(ffInherited)) {
      Result = FOwner ? FOwner->FindComponent(CompName) : nullptr;
      if (!Result) throw EReadError(Format(L"Ancestor for '%s' not found", {CompName}));
    } else {
      TClass Cls = FindClass(ClassName);
      if (!Cls->InheritsFrom(TComponent::StaticClass()) || !Cls->Factory)
        throw EReadError(Format(L"Invalid stream format: %s cannot be created", {ClassName}));
      Result = static_cast<TComponent*>(Cls->Create(FOwner));
      Created = true;
      TrackCreated(Result);
    }
  }
  if (TopLevel && !FRoot) FRoot = Result;
  ++FComponentDepth;
  auto OnFailure = Finally([&] {
    FComponentDepth = TopLevel ? 0 : FComponentDepth - 1;
    Forget(Result);
    Result->FComponentState.Exclude(csReading);
    if (Created) Result->Free();
    if (TopLevel) AbandonLoading();
  });
  Result->FComponentState.Include(csLoading);
  Result->FComponentState.Include(csReading);
  if (std::find(FLoaded.begin(), FLoaded.end(), Result) == FLoaded.end()) FLoaded.push_back(Result);
  if (Flags.Contains(ffInline)) Result->SetInline(true);
  if (!Flags.Contains(ffInherited)) Result->SetName(CompName);
  if (Created && FParent) Result->SetParentComponent(FParent);
  if (Flags.Contains(ffChildPos) && FParent) FParent->SetChildOrder(Result, ChildPos);
  Result->ReadState(this);
  Result->FComponentState.Exclude(csReading);
  // References are resolved before the component is given away, so that a
  // failure still frees it.
  if (TopLevel) FixupReferences();
  OnFailure.Dismiss();
  --FComponentDepth;
  if (TopLevel) FinishLoading();
  return Result;
}

namespace {
// A second form read from the same resource under the same owner gets the
// name with "_1", "_2", ... appended, as the first one keeps the plain name.
String UniqueRootName(TComponent* Root, const String& Name) {
  TComponent* Owner = Root->Owner();
  if (!Owner || Name.empty()) return Name;
  TComponent* Other = Owner->FindComponent(Name);
  if (!Other || Other == Root) return Name;
  for (Integer I = 1;; ++I) {
    String Candidate = Name + L"_" + IntToStr(I);
    TComponent* Found = Owner->FindComponent(Candidate);
    if (!Found || Found == Root) return Candidate;
  }
}
}  // namespace

TComponent* TReader::ReadRootComponent(TComponent* Root) {
  ReadSignature();
  bool Created = false;
  if (!Root) {
    // Peek at the class name to create the root, then read it as usual.
    Int64 At = FStream->Position();
    TFilerFlags Flags;
    Integer ChildPos;
    ReadPrefix(Flags, ChildPos);
    TClass Cls = FindClass(ReadStr());
    if (!Cls->InheritsFrom(TComponent::StaticClass()) || !Cls->Factory)
      throw EReadError(Format(L"Invalid stream format: %s cannot be created", {Cls->Name}));
    FStream->SetPosition(At);
    Root = static_cast<TComponent*>(Cls->Create(nullptr));
    Created = true;
  }
  FRoot = Root;
  FOwner = Root;
  auto OnFailure = Finally([&] {
    FComponentDepth = 0;
    AbandonLoading();
    if (Created) Root->Free();
  });
  // The root's own header: its name comes from the stream unless it is the
  // inherited part of a form that already has one.
  TFilerFlags Flags;
  Integer ChildPos;
  ReadPrefix(Flags, ChildPos);
  ReadStr();
  String Name = ReadStr();
  Root->FComponentState.Include(csLoading);
  Root->FComponentState.Include(csReading);
  FLoaded.push_back(Root);
  if (!Flags.Contains(ffInherited) || Root->Name().empty())
    Root->SetName(UniqueRootName(Root, Name));
  ++FComponentDepth;
  Root->ReadState(this);
  --FComponentDepth;
  Root->FComponentState.Exclude(csReading);
  FixupReferences();
  OnFailure.Dismiss();
  FinishLoading();
  return Root;
}

void TReader::FixupReferences() {
  std::vector<TFixup> Fixups;
  Fixups.swap(FFixups);
  for (const TFixup& F : Fixups) {
    TComponent* Target = nullptr;
    if (FRoot) {
      String Name = F.Name;
      size_t Dot = Name.find(L'.');
      if (Dot != String::npos && SameText(Name.substr(0, Dot), FRoot->Name()))
        Name = Name.substr(Dot + 1);
      Target = SameText(Name, FRoot->Name()) ? FRoot : FRoot->FindComponent(Name);
    }
    if (!Target || !Target->InheritsFrom(F.Prop->PropClass)) {
      String Comp = F.Component ? (F.Component->Name().empty() ? F.Component->ClassName()
                                                               : F.Component->Name())
                                : String();
      throw EReadError(
          Format(L"Error reading %s.%s: %s", {Comp, F.PropPath, SInvalidPropertyValue}));
    }
    F.Prop->SetObj(F.Instance, Target);
  }
}

void TReader::TrackCreated(TComponent* Component) {
  if (!FCreated) FCreated.reset(Create<TCreatedComponents>(nullptr));
  static_cast<TCreatedComponents*>(FCreated.get())->Add(Component);
}

void TReader::FinishLoading() {
  if (FCreated) static_cast<TCreatedComponents*>(FCreated.get())->Release();
  std::vector<TComponent*> Loaded;
  Loaded.swap(FLoaded);
  for (TComponent* C : Loaded) C->FComponentState.Exclude(csReading);
  for (TComponent* C : Loaded) C->Loaded();
}

void TReader::AbandonLoading() {
  for (TComponent* C : FLoaded) {
    C->FComponentState.Exclude(csLoading);
    C->FComponentState.Exclude(csReading);
  }
  FLoaded.clear();
  FFixups.clear();
  if (FCreated) static_cast<TCreatedComponents*>(FCreated.get())->FreeAll();
}

// ---------------------------------------------------------------------------
// Writer.

void TWriter::Write(const void* Buffer, Integer Count) {
  if (Count > 0) FStream->WriteBuffer(Buffer, Count);
}

void TWriter::WriteValue(TValueType Value) {
  Byte B = Value;
  Write(&B, 1);
}

void TWriter::WriteSignature() { Write(Signature, 4); }

void TWriter::WritePrefix(TFilerFlags Flags, Integer AChildPos) {
  if (Flags.Empty()) return;
  Byte B = static_cast<Byte>(0xF0 | Flags.ToBits());
  Write(&B, 1);
  if (Flags.Contains(ffChildPos)) WriteInteger(AChildPos);
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteInteger(Int64 Value) {
  if (Value >= INT8_MIN && Value <= INT8_MAX) {
    WriteValue(vaInt8);
    int8_t V = static_cast<int8_t>(Value);
    Write(&V, 1);
  } else if (Value >= INT16_MIN && Value <= INT16_MAX) {
    WriteValue(vaInt16);
    int16_t V = static_cast<int16_t>(Value);
    Write(&V, 2);
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    WriteValue(vaInt32);
    int32_t V = static_cast<int32_t>(Value);
    Write(&V, 4);
  } else {
    WriteValue(vaInt64);
    Write(&Value, 8);
  }
}

void TWriter::WriteFloat(Extended Value) {
  WriteValue(vaExtended);
  Byte Raw[10];
  std::memcpy(Raw, &Value, 10);
  Write(Raw, 10);
}

void TWriter::WriteDouble(Double Value) {
  WriteValue(vaDouble);
  Write(&Value, 8);
}

void TWriter::WriteSingle(Single Value) {
  WriteValue(vaSingle);
  Write(&Value, 4);
}

void TWriter::WriteCurrency(Int64 Value) {
  WriteValue(vaCurrency);
  Write(&Value, 8);
}

void TWriter::WriteDate(TDateTime Value) {
  WriteValue(vaDate);
  Write(&Value, 8);
}

void TWriter::WriteString(const String& Value) {
  // UTF-8 cannot carry an unpaired surrogate; such text keeps its UTF-16.
  if (HasLoneSurrogate(Value)) return WriteWideString(Value);
  if (IsAscii(Value)) {
    std::string S(Value.begin(), Value.end());
    if (S.size() <= 255) {
      WriteValue(vaString);
      Byte L = static_cast<Byte>(S.size());
      Write(&L, 1);
    } else {
      WriteValue(vaLString);
      int32_t L = static_cast<int32_t>(S.size());
      Write(&L, 4);
    }
    Write(S.data(), static_cast<Integer>(S.size()));
    return;
  }
  std::string S = UTF8Encode(Value);
  WriteValue(vaUTF8String);
  int32_t L = static_cast<int32_t>(S.size());
  Write(&L, 4);
  Write(S.data(), L);
}

void TWriter::WriteWideString(const String& Value) {
  WriteValue(vaWString);
  int32_t L = static_cast<int32_t>(Value.size());
  Write(&L, 4);
  Write(Value.data(), L * 2);
}

void TWriter::WriteStr(const String& Value) {
  std::string S = UTF8Encode(Value);
  if (S.size() > 255) throw EWriteError(Format(L"Name too long: %s", {Value}));
  Byte L = static_cast<Byte>(S.size());
  Write(&L, 1);
  Write(S.data(), L);
}

void TWriter::WriteIdent(const String& Ident) {
  if (SameText(Ident, L"False"))
    WriteValue(vaFalse);
  else if (SameText(Ident, L"True"))
    WriteValue(vaTrue);
  else if (SameText(Ident, L"nil"))
    WriteValue(vaNil);
  else if (SameText(Ident, L"Null"))
    WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(Ident);
  }
}

void TWriter::WriteSet(UInt64 Bits, const TEnumInfo& Info) {
  WriteValue(vaSet);
  for (Integer I = 0; I < Info.Count && I < 64; ++I)
    if (Bits & (UInt64(1) << I)) WriteStr(Info.Names[I]);
  WriteStr(String());
}

void TWriter::WriteBinary(const void* Data, Integer Count) {
  WriteValue(vaBinary);
  int32_t L = Count;
  Write(&L, 4);
  Write(Data, Count);
}

void TWriter::WritePropName(const String& Name) { WriteStr(FPropPath + Name); }

void TWriter::DefineProperty(const String& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const String& Name, TStreamProc, TStreamProc WriteData,
                                   bool HasData) {
  if (!HasData || !WriteData) return;
  TOwned<TMemoryStream> Mem = MakeOwned<TMemoryStream>();
  WriteData(Mem.get());
  WritePropName(Name);
  WriteBinary(Mem->Memory(), static_cast<Integer>(Mem->Size()));
}

void TWriter::WriteProperties(TPersistent* Instance) {
  for (const TPropInfo* P : GetPropList(Instance->ClassType())) {
    if (P->Kind != tkClass && !P->Writable()) continue;
    if (!IsStoredProp(Instance, P) || IsDefaultPropValue(Instance, P)) continue;
    WriteProperty(Instance, P);
  }
  Instance->DefineProperties(this);
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* Prop) {
  switch (Prop->Kind) {
    case tkInteger:
    case tkInt64: {
      Int64 V = Prop->GetOrd(Instance);
      String Ident;
      WritePropName(Prop->Name);
      if (Prop->IntToIdent && Prop->Kind == tkInteger &&
          Prop->IntToIdent(static_cast<Integer>(V), Ident))
        WriteIdent(Ident);
      else
        WriteInteger(V);
      break;
    }
    case tkEnumeration: {
      Int64 V = Prop->GetOrd(Instance);
      WritePropName(Prop->Name);
      if (Prop->EnumType == &BooleanInfo())
        WriteBoolean(V != 0);
      else
        WriteIdent(GetEnumName(*Prop->EnumType, static_cast<Integer>(V)));
      break;
    }
    case tkSet:
      WritePropName(Prop->Name);
      WriteSet(static_cast<UInt64>(Prop->GetOrd(Instance)), *Prop->EnumType);
      break;
    case tkFloat: {
      Extended V = Prop->GetFloat(Instance);
      WritePropName(Prop->Name);
      if (Prop->IsDate)
        WriteDate(static_cast<TDateTime>(V));
      else if (Prop->FloatType == ftSingle)
        WriteSingle(static_cast<Single>(V));
      else if (Prop->FloatType == ftDouble)
        WriteDouble(static_cast<Double>(V));
      else
        WriteFloat(V);
      break;
    }
    case tkString:
      WritePropName(Prop->Name);
      WriteString(Prop->GetStr(Instance));
      break;
    case tkMethod: {
      TMethod M = Prop->GetMethod(Instance);
      // Only the root's published methods can be named in a form.
      String Name = M.Data == FRoot ? MethodName(FRoot, M.Code) : String();
      if (Name.empty()) break;
      WritePropName(Prop->Name);
      WriteIdent(Name);
      break;
    }
    case tkClass: {
      TObject* Obj = Prop->GetObj(Instance);
      if (auto* C = AsOrNull<TComponent>(Obj)) {
        String Ref;
        if (C == FRoot || C->Owner() == FRoot)
          Ref = C->Name();
        else if (C->Owner() && !C->Owner()->Name().empty() && !C->Name().empty())
          Ref = C->Owner()->Name() + L"." + C->Name();
        if (Ref.empty()) break;
        WritePropName(Prop->Name);
        WriteIdent(Ref);
      } else if (auto* Coll = AsOrNull<TCollection>(Obj)) {
        WritePropName(Prop->Name);
        WriteCollection(Coll);
      } else if (auto* Pers = AsOrNull<TPersistent>(Obj)) {
        String Saved = FPropPath;
        FPropPath += Prop->Name + L".";
        auto RestorePath = Finally([&] { FPropPath = Saved; });
        WriteProperties(Pers);
      }
      break;
    }
    default:
      break;
  }
}

void TWriter::WriteCollection(TCollection* Collection) {
  WriteValue(vaCollection);
  String Saved = FPropPath;
  FPropPath.clear();
  {
    auto RestorePath = Finally([&] { FPropPath = Saved; });
    for (Integer I = 0; I < Collection->Count(); ++I) {
      WriteListBegin();
      WriteProperties(Collection->Items(I));
      WriteListEnd();
    }
  }
  WriteListEnd();
}

void TWriter::WriteData(TComponent* Instance) {
  WriteProperties(Instance);
  WriteListEnd();
  Instance->GetChildren(MakeEvent<&TWriter::WriteComponent>(this), FRoot);
  WriteListEnd();
}

void TWriter::WriteComponent(TComponent* Component) {
  Component->FComponentState.Include(csWriting);
  auto Written = Finally([&] { Component->FComponentState.Exclude(csWriting); });
  TFilerFlags Flags;
  if (Component->ComponentState().Contains(csInline)) Flags.Include(ffInline);
  WritePrefix(Flags, 0);
  WriteStr(Component->ClassName());
  WriteStr(Component->Name());
  Component->WriteState(this);
}

void TWriter::WriteRootComponent(TComponent* Root) {
  FRoot = Root;
  WriteSignature();
  WriteComponent(Root);
}

// TComponent's streaming entry points live with the filer they drive.
void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }
void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

// ---------------------------------------------------------------------------
// Streams and resources.

TStreamOriginalFormat TestStreamFormat(TStream* Stream) {
  Int64 At = Stream->Position();
  char Buf[16] = {};
  Integer N = Stream->Read(Buf, sizeof Buf);
  Stream->SetPosition(At);
  std::string Head(Buf, static_cast<size_t>(N));
  if (Head.size() >= 4 && Head.compare(0, 4, "TPF0") == 0) return sofBinary;
  if (Head.compare(0, 3, "\xEF\xBB\xBF") == 0) Head.erase(0, 3);
  size_t I = Head.find_first_not_of(" \t\r\n");
  if (I == std::string::npos) return sofUnknown;
  Head.erase(0, I);
  auto StartsWithWord = [&](const char* W) {
    size_t L = std::strlen(W);
    if (Head.size() < L) return false;
    for (size_t K = 0; K < L; ++K)
      if ((Head[K] | 0x20) != W[K]) return false;
    return Head.size() == L || !std::isalnum(static_cast<unsigned char>(Head[L]));
  };
  if (StartsWithWord("object") || StartsWithWord("inherited") || StartsWithWord("inline"))
    return sofText;
  return sofUnknown;
}

TComponent* ReadComponentFromStream(TStream* Stream, TComponent* Instance) {
  switch (TestStreamFormat(Stream)) {
    case sofBinary: {
      TOwned<TReader> Reader = MakeOwned<TReader>(Stream);
      return Reader->ReadRootComponent(Instance);
    }
    case sofText: {
      TOwned<TMemoryStream> Binary = MakeOwned<TMemoryStream>();
      ObjectTextToBinary(Stream, Binary.get());
      Binary->SetPosition(0);
      TOwned<TReader> Reader = MakeOwned<TReader>(Binary.get());
      return Reader->ReadRootComponent(Instance);
    }
    default:
      throw EReadError(L"Invalid stream format");
  }
}

void WriteComponentToStream(TStream* Stream, TComponent* Instance) {
  TOwned<TWriter> Writer = MakeOwned<TWriter>(Stream);
  Writer->WriteRootComponent(Instance);
}

TComponent* ReadComponentRes(const String& ResName, TComponent* Instance) {
  TOwned<TResourceStream> Res =
      MakeOwned<TResourceStream>(GetModuleHandleW(nullptr), ResName, RT_RCDATA);
  return ReadComponentFromStream(Res.get(), Instance);
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor) {
  std::vector<TClass> Chain;
  for (TClass C = Instance->ClassType(); C && C != RootAncestor; C = C->Parent) Chain.push_back(C);
  bool Found = false;
  HMODULE Module = GetModuleHandleW(nullptr);
  for (auto It = Chain.rbegin(); It != Chain.rend(); ++It) {
    if (!FindResourceW(Module, (*It)->Name, RT_RCDATA)) continue;
    ReadComponentRes((*It)->Name, Instance);
    Found = true;
  }
  return Found;
}
