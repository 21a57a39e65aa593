// Resource identifiers shared by Esmalvio.rc and the code.
#pragma once

#define IDI_ESMALVIO 1
#define IDI_FUSI 2

// Digit strips and colon pictures, one per colour index 0, 1, 2.
#define IDB_COLOR_0 101
#define IDB_PUNTO_0 111
#define IDB_PUNTO1_0 121

#define IDM_ESMALVIO 200

// Menu item arrays: command id = array base + index in the array.
#define IDM_MNUFILE 1000
#define IDM_MNUOPTION 1100
#define IDM_MNUIMP 1200

// Places of the items in their arrays; a separator takes a place too.
#define MNUFILE_INFORMAZIONI 0
#define MNUFILE_ESCI 2
#define MNUIMP_FUSO_ORARIO 0
#define MNUIMP_NASCONDI_MENU 2
#define MNUIMP_SALVA_COLORE 4
#define MNUIMP_SALVA_POSIZIONE 5
#define MNUIMP_PREDEFINITO 7

#define IDS_TITOLO 2001
#define IDS_GIA_IN_ESECUZIONE 2002
#define IDS_LOCALE 2003
#define IDS_SUFFISSO_LOCALE 2004
#define IDS_SUFFISSO_FUSO 2005
#define IDS_CLICCA_MENU 2006
#define IDS_SALVO_COLORE 2007
#define IDS_SALVO_POSIZIONE 2008
#define IDS_GIA_PREDEFINITE 2009
#define IDS_REIMPOSTO 2010
#define IDS_ABOUT_APP 2011
#define IDS_ABOUT_RIGA1 2012
#define IDS_ABOUT_RIGA2 2013
#define IDS_OROLOGIO_NON_MOSTRATO 2014

#define IDS_FUSI_TITOLO 2101
#define IDS_FUSI_LABEL1 2102
#define IDS_FUSI_CHECK1 2103
#define IDS_FUSI_CHECK2 2104
#define IDS_FUSI_SALVA 2105
#define IDS_FUSI_ORA_LOCALE 2106
#define IDS_FUSI_CHIUDI 2107
#define IDS_FUSI_LABEL2 2108
#define IDS_FUSI_SALVO 2109
#define IDS_FUSI_RIPRISTINO 2110
#define IDS_FUSI_AVVIO_NEGATO 2111
#define IDS_FUSI_SCEGLI_FUSO 2112
#define IDS_FUSI_FUSO_NON_SALVATO 2113
#define IDS_FUSI_NULLA_SALVATO 2114
#define IDS_FUSI_NON_APERTA 2130
#define IDS_FUSI_ORA_LOCALE_NON_RIPRISTINATA 2131
