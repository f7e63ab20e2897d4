/* A program built against the installed velinst: it prints the OS code. */
#include <stdio.h>
#include <velinst.h>

int main(void) {
  printf("%d\n", VEL_MD_GetOS());
  return 0;
}
