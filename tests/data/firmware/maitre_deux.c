/* Modèle d'essai : maître */
#define CarRet 0
void Afficher(void)
{
	
		GenererPulse();
		T100ms=0;
		ValLigne[0]=4;
		ValLigne[1]=10;
		ValLigne[2]=17;
		ValLigne[3]=17;
		ValLigne[4]=31;
		ValLigne[5]=17;
		ValLigne[6]=17;
		while(T100ms<5){}
 
		GenererPulse();
		T100ms=0;
		ValLigne[0]=31;
		ValLigne[1]=1;
		ValLigne[2]=1;
		ValLigne[3]=15;
		ValLigne[4]=1;
		ValLigne[5]=1;
		ValLigne[6]=1;
		while(T100ms<15){}
 //ICI
}
