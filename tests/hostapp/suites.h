#ifndef ORV_TESTS_HOSTAPP_SUITES_H_
#define ORV_TESTS_HOSTAPP_SUITES_H_

// The QTest suites of the desktop host; each runs its test class with the
// remaining command-line arguments and returns the number of failures.
int RunModelsTest(int argc, char** argv);
int RunServicesTest(int argc, char** argv);
int RunEditorTest(int argc, char** argv);
int RunProfileWindowTest(int argc, char** argv);
int RunJournalUiTest(int argc, char** argv);

#endif  // ORV_TESTS_HOSTAPP_SUITES_H_
