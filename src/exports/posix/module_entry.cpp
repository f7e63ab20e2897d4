// A shared object has no entry point of its own: loading runs only the
// library's global constructors, as on Windows before DllMain.
