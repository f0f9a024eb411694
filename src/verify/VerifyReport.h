#pragma once
// The two forms of a verification's result: the summary people read (a table of what was
// installed and left, then one line per finding) and the JSON document that a CI job reads
// (its schema is in the README, "qsbuild --verify").
#include <string>

#include "verify/Verification.h"

// 0 clean, 1 findings, 2 could not run.
int VerifyExitCode(const VerifyResult& result);
std::string VerifySummary(const VerifyResult& result);
std::string VerifyJson(const VerifyResult& result);
