#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "gkCommon.h"
#include "gkOutput.h"

namespace {

// A sink whose clock the test sets.
class TClockOutput : public TgkOutput {
 public:
  TDateTime Clock = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 123);
  void Advance(Integer AMSec) { Clock += static_cast<TDateTime>(AMSec) / MSecsPerDay; }

 protected:
  TDateTime CurrentTime() const override { return Clock; }
};

class OutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FSaved = FormatSettings();
    FormatSettings().DateSeparator = L'/';
    FormatSettings().TimeSeparator = L':';
    FSink.reset(Create<TClockOutput>());
    FSink->SetStorageMemory(FLines.get());
  }
  void TearDown() override {
    FSink.reset();
    FormatSettings() = FSaved;
  }

  TFormatSettings FSaved;
  TOwned<TStringList> FLines{Create<TStringList>()};
  TOwned<TClockOutput> FSink;
};

String ErrorOf(const std::function<void()>& AProc) {
  try {
    AProc();
  } catch (const EgkOutput& E) {
    return E.Message();
  }
  return L"(nothing raised)";
}

TEST_F(OutputTest, DateAndTimePrefixFollowTheLocaleSeparators) {
  FSink->SetInprintDate(true);
  FSink->SetInprintTime(true);
  FSink->Print(L"first");
  FormatSettings().DateSeparator = L'.';
  FormatSettings().TimeSeparator = L'-';
  FSink->SetIndentCount(1);
  FSink->Print(L"second");
  ASSERT_EQ(FLines->Count(), 2);
  EXPECT_EQ(FLines->Get(0), L"05/03/2024 14:07:09:123: first");
  EXPECT_EQ(FLines->Get(1), L"05.03.2024 14-07-09-123:   second");
}

TEST_F(OutputTest, TickShowsTheTimeSinceThePreviousPrefixedLine) {
  FSink->SetInprintTick(true);
  FSink->Print(L"start");
  FSink->Advance(12);
  FSink->Print(L"soon");
  FSink->Advance(2500);
  FSink->Print(L"later");
  // An empty line and the delimiter line carry no prefix and leave the
  // previous time alone.
  FSink->SetDelimLine(L"-----");
  FSink->Advance(400);
  FSink->Print(L"");
  FSink->Print(L"-----");
  FSink->Advance(5);
  FSink->Print(L"end");
  ASSERT_EQ(FLines->Count(), 6);
  EXPECT_EQ(FLines->Get(1), L"012: soon");
  EXPECT_EQ(FLines->Get(2), L"00:00:02:500: later");
  EXPECT_EQ(FLines->Get(3), L"");
  EXPECT_EQ(FLines->Get(4), L"-----");
  EXPECT_EQ(FLines->Get(5), L"405: end");
}

TEST_F(OutputTest, IndentationIsTwoBlanksPerLevelBelowAThousand) {
  struct TCase {
    Integer Level;
    const wchar_t* Expected;
  };
  for (const TCase& Case : {TCase{0, L"x"}, TCase{1, L"  x"}, TCase{3, L"      x"},
                            TCase{999, nullptr}, TCase{1000, L"x"}, TCase{-2, L"x"}}) {
    FLines->Clear();
    FSink->SetIndentCount(Case.Level);
    FSink->Print(L"x");
    String Expected = Case.Expected ? String(Case.Expected) : StringOfChar(L' ', 1998) + L"x";
    EXPECT_EQ(FLines->Get(0), Expected) << Case.Level;
  }
}

TEST_F(OutputTest, ListenerHearsTheTextWithoutPrefix) {
  std::vector<String> Heard;
  FSink->SetStorageNone();
  EXPECT_EQ(ErrorOf([&] { FSink->Print(L"x"); }), L"Не задано хранилище для списка сообщений.");
  FSink->SetOnPrint([&](TgkOutput* ASender, const String& AText) {
    EXPECT_EQ(ASender, FSink.get());
    Heard.push_back(AText);
  });
  FSink->SetInprintTime(true);
  FSink->SetIndentCount(2);
  FSink->Print(L"only heard");
  EXPECT_EQ(Heard, std::vector<String>{L"only heard"});
  EXPECT_EQ(FLines->Count(), 0);

  FSink->SetStorageMemory(FLines.get());
  FSink->Print(L"both");
  EXPECT_EQ(Heard.back(), L"both");
  EXPECT_EQ(FLines->Get(0), L"14:07:09:123:     both");
}

TEST_F(OutputTest, PrintingFromSeveralThreadsKeepsLinesWhole) {
  FSink->SetInprintTick(true);
  constexpr int Threads = 4, Lines = 200;
  std::vector<std::thread> Workers;
  for (int T = 0; T < Threads; ++T)
    Workers.emplace_back([this, T] {
      for (int I = 0; I < Lines; ++I) FSink->Print(Format(L"thread %d line %d", {T, I}));
    });
  for (auto& W : Workers) W.join();
  ASSERT_EQ(FLines->Count(), Threads * Lines);
  for (Integer I = 0; I < FLines->Count(); ++I)
    EXPECT_EQ(Pos(L": thread ", FLines->Get(I)), 4) << FLines->Get(I);
}

TEST_F(OutputTest, TraceLinesReachAnAttachedSink) {
  FSink->SetIndentCount(1);
  SetOutput(FSink.get());
  gkPrint(L"traced %d", {7});
  SetOutput(nullptr);
  gkPrint(L"dropped");
  ASSERT_EQ(FLines->Count(), 1);
  EXPECT_EQ(FLines->Get(0), L"  traced 7");
}

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t Temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, Temp);
    FFolder =
        String(Temp) + L"gkOutputTest" + IntToStr(static_cast<Integer>(GetCurrentProcessId()));
    FFile = FFolder + L"\\log.txt";
  }
  void TearDown() override {
    DeleteFile(FFile);
    RemoveDir(FFolder);
  }
  static std::string ReadAll(const String& AFileName) {
    std::ifstream In(StringToAnsi(AFileName), std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
  }
  static void WriteAll(const String& AFileName, const std::string& AText) {
    std::ofstream(StringToAnsi(AFileName), std::ios::binary) << AText;
  }

  String FFolder;
  String FFile;
};

TEST_F(OutputFileTest, AppendsAnsiLinesAndRetriesAFailedOpen) {
  TOwned<TgkOutput> Sink(Create<TgkOutput>());
  Sink->SetStorageFile(FFile);
  // The folder does not exist yet: the open fails with the platform's code
  // and the next line tries again.
  String Expected = Format(L"Ошибка при открытии выходного файла. IOResult [%d].\n\n%s",
                           {static_cast<Integer>(ERROR_PATH_NOT_FOUND), FFile});
  EXPECT_EQ(ErrorOf([&] { Sink->Print(L"lost"); }), Expected);
  EXPECT_FALSE(Sink->Opened());

  ASSERT_TRUE(ForceDirectories(FFolder));
  WriteAll(FFile, "old\r\n");
  Sink->Print(L"one");
  EXPECT_TRUE(Sink->Opened());
  // Flushed after every line: readable while the sink keeps the file open.
  EXPECT_EQ(ReadAll(FFile), "old\r\none\r\n");
  Sink->Print(L"two");
  Sink.reset();
  EXPECT_EQ(ReadAll(FFile), "old\r\none\r\ntwo\r\n");
}

TEST_F(OutputFileTest, OpeningWithoutAppendEmptiesTheFile) {
  ASSERT_TRUE(ForceDirectories(FFolder));
  WriteAll(FFile, "old\r\n");
  TOwned<TgkOutput> Sink(Create<TgkOutput>());
  Sink->SetStorageFile(FFile);
  Sink->OpenLogFile(false);
  Sink->Print(L"new");
  Sink.reset();
  EXPECT_EQ(ReadAll(FFile), "new\r\n");
}

}  // namespace
