/* A program that does nothing: it exists for the version resource linked into it. */
int main(void) { return 0; }
