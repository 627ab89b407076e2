__thread int perThread;
int Touch(void) { return ++perThread; }
