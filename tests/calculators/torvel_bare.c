/* A library that lacks the generator's entries. */
int SomethingElse(void) { return 1; }
