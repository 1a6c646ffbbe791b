/* A program of another project using both libraries: the largest value and an FFT of sigmora
 * here, an error note of numora in consumer_numora.c (the two headers declare namesakes with
 * different prototypes, so one header per file). Exits 0 when every result is right. */
#include <sigmora.h>
#include <stdio.h>

int numoraAnswers(void);

int main(void) {
    float x[4] = {1.0f, 5.0f, 3.0f, 2.0f};
    float re[4] = {1.0f, 1.0f, 1.0f, 1.0f}, im[4] = {0};
    int32_t pos = -1;
    if (MaxValueCalc(x, 4, &pos) != 5.0f || pos != 1) return 1;
    if (FFTCalc(re, im, 4) != 1 || re[0] != 4.0f || re[1] != 0.0f) return 2;
    if (!numoraAnswers()) return 3;
    printf("consumer: sigmora and numora answer\n");
    return 0;
}
