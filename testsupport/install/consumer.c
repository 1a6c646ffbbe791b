/* A program of another project using both libraries: the largest value and an FFT of sigmora,
 * an error note of numora. Exits 0 when every result is right. */
#include <numora.h>
#include <sigmora.h>
#include <stdio.h>
#include <string.h>

int main(void)
{
    float x[4] = {1.0f, 5.0f, 3.0f, 2.0f};
    float re[4] = {1.0f, 1.0f, 1.0f, 1.0f}, im[4] = {0};
    char note[64];
    int32_t pos = -1;
    if (MaxValueCalc(x, 4, &pos) != 5.0f || pos != 1) return 1;
    if (FFTCalc(re, im, 4) != 1 || re[0] != 4.0f || re[1] != 0.0f) return 2;
    if (getErrorNote(0, note) <= 0 || strcmp(note, "No error") != 0) return 3;
    printf("consumer: sigmora and numora answer\n");
    return 0;
}
