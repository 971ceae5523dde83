// Read by moc before each header: the moc of Qt 6.4 cannot expand this macro of the standard
// library's C++20 headers (later Qt versions define it themselves).
#ifndef _GLIBCXX_VISIBILITY
#define _GLIBCXX_VISIBILITY(V)
#endif
