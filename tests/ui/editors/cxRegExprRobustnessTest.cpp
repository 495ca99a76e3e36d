// Mutation fuzzing of the compiler and the patterns that exhaust naive engines: every compile
// ends with an automaton or with positioned errors, and every run ends with a result. A hang
// shows as the test's time-out.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

#include "RegExprTestSupport.h"
#include "cxRegExpr.h"

namespace {

const wchar_t* const SeedPatterns[] = {
    L"(\\d{3}) \\d{3}-\\d{4}",
    L"([012]?[1-9]|[123]0|31)/(0?[1-9]|1[012])/\\d\\d\\d\\d",
    L"(0?[1-9]|1[012]):[0-5]?\\d(:[0-5]?\\d)?' '('AM'|'PM')?",
    L"((today|yesterday|tomorrow)((\\+|-)\\d(\\d(\\d\\d?)?)?)?)",
    L"'+7 '\\(\\d{3}\\) \\d{3}-\\d\\d-\\d\\d",
    L"[A-Z][a-z]*( [A-Z][a-z]*){0,3}",
    L"(a|b){2,5}c?\\1\\2",
    L"[^\\s/:]+@[\\w.]+\\p\\x41",
    L"(x(y|z)*){1,}|'q''q'",
    L"\\d+(\\p\\d{1,2})?",
};

// The positions the scanner gives the pattern's characters, and the one just after its end.
std::set<std::pair<Integer, Integer>> ValidPositions(const String& P) {
  std::set<std::pair<Integer, Integer>> Result{{0, 0}};
  Integer Line = 1, Col = 0;
  for (Char C : P) {
    if (C == 13)
      ++Line;
    else if (C == 10)
      Col = 0;
    else
      ++Col;
    Result.insert({Line, Col});
  }
  Result.insert({Line, Col + 1});
  return Result;
}

String Mutate(std::mt19937& Rng, const String& P) {
  static const String Syntax = L"()[]{}|*+?\\'-^,.:/ 0123456789adx\r\n";
  String S = P;
  auto Pick = [&](size_t N) { return static_cast<size_t>(Rng() % N); };
  switch (Rng() % 5) {
    case 0:  // flip one character
      if (!S.empty()) S[Pick(S.size())] = Syntax[Pick(Syntax.size())];
      break;
    case 1:  // insert a syntax character
      S.insert(Pick(S.size() + 1), 1, Syntax[Pick(Syntax.size())]);
      break;
    case 2:  // delete a run
      if (!S.empty()) {
        size_t I = Pick(S.size());
        S.erase(I, 1 + Pick(3));
      }
      break;
    case 3: {  // splice in a piece of another seed
      const String Other = SeedPatterns[Pick(std::size(SeedPatterns))];
      size_t From = Pick(Other.size()), Len = 1 + Pick(6);
      S.insert(Pick(S.size() + 1), Other.substr(From, Len));
      break;
    }
    default:  // duplicate a run
      if (!S.empty()) {
        size_t I = Pick(S.size());
        S.insert(I, S.substr(I, 1 + Pick(4)));
      }
      break;
  }
  return S;
}

// Random steps; every accepted step taken back by Prev restores the set exactly.
void Exercise(std::mt19937& Rng, TcxRegExpr& R, const String& APattern) {
  static const String Alphabet = L"0123456789aAbxyz/:.-+() '";
  std::vector<std::vector<TcxRegExprSimpleState*>> Before;
  auto Snapshot = [&] {
    std::vector<TcxRegExprSimpleState*> S;
    const TcxRegExprStates& States = R.Automat()->CurrentStates();
    for (Integer I = 0; I < States.Count(); ++I) S.push_back(States.GetState(I));
    return S;
  };
  R.SetCaseInsensitive(Rng() % 3 == 0);
  for (int Step = 0; Step < 60; ++Step) {
    switch (Rng() % 6) {
      case 0:
      case 1:
      case 2: {
        auto S = Snapshot();
        Char C = Alphabet[Rng() % Alphabet.size()];
        if (R.Next(C))
          Before.push_back(std::move(S));
        else
          ASSERT_EQ(Snapshot(), S) << "a refused character changed the set";
        break;
      }
      case 3:
        if (Before.empty()) {
          ASSERT_FALSE(R.Prev());
        } else {
          ASSERT_TRUE(R.Prev());
          ASSERT_EQ(Snapshot(), Before.back()) << testing::PrintToString(APattern);
          Before.pop_back();
        }
        break;
      case 4:
        R.Reset();
        Before.clear();
        ASSERT_TRUE(R.IsStart());
        break;
      default:
        R.NextEx(L"12a/:");
        Before.clear();
        R.Reset();
        break;
    }
    R.IsFinal();
  }
}

void CompileAndExercise(std::mt19937& Rng, const String& P, int& ACompiled, int& ARefused) {
  TcxRegExpr R;
  try {
    R.Compile(P);
  } catch (const EcxRegExprError& E) {
    ++ARefused;
    ASSERT_GT(E.Errors().Count(), 0);
    const auto Valid = ValidPositions(P);
    for (Integer I = 0; I < E.Errors().Count(); ++I) {
      const TcxRegExprError* Error = E.Errors().Items(I);
      EXPECT_TRUE(Valid.count({Error->Line(), Error->Char()}))
          << testing::PrintToString(P) << " " << Error->Line() << ":" << Error->Char();
      EXPECT_FALSE(Error->Message().empty());
    }
    EXPECT_FALSE(R.IsCompiled());
    return;
  }
  ++ACompiled;
  Exercise(Rng, R, P);
}

TEST(cxRegExprFuzz, MutantsCompileOrReportPositionedErrors) {
  std::mt19937 Rng(20240611);
  int Compiled = 0, Refused = 0;
  for (const wchar_t* Seed : SeedPatterns) {
    const String P = Seed;
    for (size_t Cut = 0; Cut <= P.size(); ++Cut)
      CompileAndExercise(Rng, P.substr(0, Cut), Compiled, Refused);
    for (int I = 0; I < 300; ++I) {
      String M = P;
      for (int K = 1 + static_cast<int>(Rng() % 3); K > 0; --K) M = Mutate(Rng, M);
      CompileAndExercise(Rng, M, Compiled, Refused);
      if (HasFatalFailure()) return;
    }
  }
  // Both roads are taken often enough to mean something.
  EXPECT_GT(Compiled, 500);
  EXPECT_GT(Refused, 500);
}

TEST(cxRegExprFuzz, CatastrophicPatternsEndWithAResult) {
  const String Long(100000, L'a');
  TcxRegExpr R;
  R.Compile(L"(a|aa)+");
  EXPECT_TRUE(Matches(R, Long));
  R.Compile(L"(a+)+b");
  EXPECT_FALSE(Matches(R, Long));
  EXPECT_EQ(R.Automat()->HistoryCount(), 100000);
  Char B = L'b';
  EXPECT_TRUE(R.Next(B));
  EXPECT_TRUE(R.IsFinal());
  R.Compile(L"(a?){2,}b");
  EXPECT_TRUE(Matches(R, Long + L"b"));
}

TEST(cxRegExprFuzz, CountsAtTheLimitsStillRun) {
  TcxRegExpr R;
  R.Compile(L"a{99990}");
  EXPECT_TRUE(Matches(R, String(99990, L'a')));
  EXPECT_FALSE(Matches(R, String(99989, L'a')));
  R.Compile(L"a{0,1000}b");
  EXPECT_TRUE(Matches(R, String(1000, L'a') + L"b"));
  EXPECT_FALSE(Matches(R, String(1001, L'a')));
  // Deep nesting right at the limit runs without exhausting the stack.
  R.Compile(String(1000, L'(') + L"a" + String(1000, L')') + L"+");
  EXPECT_TRUE(Matches(R, L"aaa"));
}

TEST(cxRegExprFuzz, HugeNestingIsRefusedWithoutExhaustingTheStack) {
  const String Deep = String(100000, L'(') + L"a" + String(100000, L')');
  std::vector<TErrorAt> Errors = CompileErrors(Deep);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].Char, 1001);
  EXPECT_EQ(CompileErrors(String(100000, L'(')).size(), 1u);
}

}  // namespace
