/*
 * AfficheurCarac, master module.
 * ATmega328P at 16 MHz; 5 x 7 dot matrix. Wiring and chain protocol: module/README.md.
 *
 * The generated character blocks stand before the marker at the end of the main loop.
 * Each block starts one pulse down the chain, shows one character and waits its duration
 * in 100 ms ticks. The first pulse of each pass through the sequence is a long one, so
 * the slaves down the chain know where the sequence starts. The pulse runs on in the
 * display interrupt while the character shows, and the ticks count from the pulse, so
 * every character lasts its duration to the millisecond.
 */

#include <stdbool.h>
#include <stdint.h>
#include <avr/interrupt.h>
#include <avr/io.h>
#include <util/atomic.h>

/* Chain output, idle high, a pulse is low: D3 (PD3). */
#define PULSE_PORT PORTD
#define PULSE_DDR DDRD
#define PULSE_BIT PD3

/* Pulse lengths the slaves tell apart (milliseconds). */
#define PULSE_MS 3
#define START_PULSE_MS 9
#define PULSE_GAP_MS 3

/* Row values, row A (top) to G (bottom); bit i lights column i, column 0 at the left. */
volatile uint8_t ValLigne[7];

/* 100 ms ticks counted by the display interrupt; atomic, because the main loop reads it
 * in two byte loads and a tick in between would tear the value at 255 -> 256. */
volatile _Atomic uint16_t T100ms;

static bool sequenceStart;

/* Milliseconds into the current 100 ms tick. */
static volatile uint8_t msInTick;

/* Milliseconds before the next pulse may start: the pulse still on, then the gap. */
static volatile uint8_t chainBusyMs;

/*
 * avr-libc has no libatomic: these are the calls the compiler makes for each access to a
 * 16-bit _Atomic object. Blocking interrupts makes each access indivisible.
 */
uint16_t __atomic_load_2(const volatile void *object, int order)
{
	uint16_t value;
	(void)order;
	ATOMIC_BLOCK(ATOMIC_RESTORESTATE) { value = *(const volatile uint16_t *)object; }
	return value;
}

void __atomic_store_2(volatile void *object, uint16_t value, int order)
{
	(void)order;
	ATOMIC_BLOCK(ATOMIC_RESTORESTATE) { *(volatile uint16_t *)object = value; }
}

bool __atomic_compare_exchange_2(volatile void *object, void *expected, uint16_t desired,
                                 bool weak, int successOrder, int failureOrder)
{
	bool same;
	(void)weak;
	(void)successOrder;
	(void)failureOrder;
	ATOMIC_BLOCK(ATOMIC_RESTORESTATE)
	{
		uint16_t current = *(volatile uint16_t *)object;
		same = current == *(uint16_t *)expected;
		if (same)
			*(volatile uint16_t *)object = desired;
		else
			*(uint16_t *)expected = current;
	}
	return same;
}

/* Rows A..F on PC0..PC5 (A0..A5), row G on PD4 (D4): a row is lit while its line is high.
 * Columns 0..4 on PB0..PB4 (D8..D12): a dot is lit while its column line is low. */
static void rowsOff(void)
{
	PORTC &= (uint8_t)~0x3F;
	PORTD &= (uint8_t)~_BV(PD4);
}

static void rowOn(uint8_t row)
{
	if (row < 6)
		PORTC |= (uint8_t)_BV(row);
	else
		PORTD |= (uint8_t)_BV(PD4);
}

/* 1 kHz: shows the next row (each row 1 ms in 7, about 140 frames a second), ends the
 * pulse on time and counts the 100 ms ticks. */
ISR(TIMER0_COMPA_vect)
{
	static uint8_t row;

	rowsOff();
	row = (uint8_t)((row + 1) % 7);
	PORTB = (uint8_t)((PORTB & ~0x1F) | (~ValLigne[row] & 0x1F));
	rowOn(row);

	if (chainBusyMs != 0 && --chainBusyMs == PULSE_GAP_MS)
		PULSE_PORT |= (uint8_t)_BV(PULSE_BIT);

	if (++msInTick == 100) {
		msInTick = 0;
		if (T100ms != UINT16_MAX)
			T100ms++;
	}
}

/* Starts one pulse down the chain at the start of each character, the long one for the
 * first character of the sequence, and starts a new 100 ms tick: the character that the
 * block then shows lasts exactly its ticks. Only a character of zero duration waits here,
 * for the gap that keeps back-to-back pulses apart. */
void GenererPulse(void)
{
	while (chainBusyMs != 0) {
	}
	ATOMIC_BLOCK(ATOMIC_RESTORESTATE)
	{
		PULSE_PORT &= (uint8_t)~_BV(PULSE_BIT);
		chainBusyMs = (uint8_t)((sequenceStart ? START_PULSE_MS : PULSE_MS) + PULSE_GAP_MS);
		msInTick = 0;
	}
	sequenceStart = false;
}

static void setUp(void)
{
	DDRB |= 0x1F;
	PORTB |= 0x1F;
	DDRC |= 0x3F;
	DDRD |= (uint8_t)_BV(PD4);
	PULSE_PORT |= (uint8_t)_BV(PULSE_BIT);
	PULSE_DDR |= (uint8_t)_BV(PULSE_BIT);

	/* Timer 0, CTC, 16 MHz / 64 / 250 = 1 kHz. */
	TCCR0A = _BV(WGM01);
	TCCR0B = _BV(CS01) | _BV(CS00);
	OCR0A = 249;
	TIMSK0 = _BV(OCIE0A);
	sei();
}

int main(void)
{
	setUp();
	for (;;) {
		sequenceStart = true;
	//ICI
	}
}
